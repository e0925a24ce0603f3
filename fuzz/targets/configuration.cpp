// Configuration files: read into the editor's controls, saved, read again.
#include <map>
#include <string>

#include "config/configuration.h"
#include "editor/editorlines.h"
#include "editor/editorrules.h"
#include "fuzzing.h"
#include "launch/optionfile.h"
#include "text/errors.h"
#include "text/linelist.h"

using namespace arcavio;

namespace {

// The editor's controls without a window: what is set is what is read.
class Controls final : public ConfigurationControls {
  public:
    void setText(std::string_view control, const std::string& value) override
    {
        texts_[std::string(control)] = value;
    }
    void setFlag(std::string_view control, bool on) override { flags_[std::string(control)] = on; }
    void setInteger(std::string_view control, std::int32_t value) override
    {
        integers_[std::string(control)] =
            clampToBounds(value, control == "volume" ? kVolumeBounds : kUnbounded);
    }
    void setPicture(const std::string& path) override { picture_ = path; }
    std::string text(std::string_view control) const override { return get(texts_, control); }
    bool flag(std::string_view control) const override { return get(flags_, control); }
    std::int32_t integer(std::string_view control) const override { return get(integers_, control); }
    std::string picture() const override { return picture_; }

  private:
    template <typename Map> static typename Map::mapped_type get(const Map& map, std::string_view control)
    {
        const auto found = map.find(std::string(control));
        return found == map.end() ? typename Map::mapped_type{} : found->second;
    }
    std::map<std::string, std::string> texts_;
    std::map<std::string, bool> flags_;
    std::map<std::string, std::int32_t> integers_;
    std::string picture_;
};

} // namespace

ARCAVIO_FUZZ_TARGET
{
    const LineList lines = LineList::fromBytes(input);
    Controls controls;
    try {
        loadControls(lines, controls);
    } catch (const ListIndexError& e) {
        FUZZ_CHECK(e.index() == lines.count() && lines.count() < kConfigurationLineCount);
        return;
    } catch (const ConvertError&) {
        return;
    }
    // What the editor saves, it reads again unchanged; the file holds exactly its lines.
    const LineList saved = linesFromControls(controls);
    FUZZ_CHECK(saved.count() == kConfigurationLineCount);
    FUZZ_CHECK(LineList::fromBytes(saved.toText()) == saved);
    Controls again;
    loadControls(saved, again);
    FUZZ_CHECK(linesFromControls(again) == saved);
    // And Run can turn it into an option file.
    LineList optionFile;
    buildOptionFile(saved, optionFile);
    FUZZ_CHECK(optionFile.count() == kOptionFileLineCount);
}
