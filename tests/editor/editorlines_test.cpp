#include "editor/editorlines.h"

#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "text/errors.h"

namespace arcavio {
namespace {

// Controls that remember what was set, in order.
class RecordingControls final : public ConfigurationControls {
  public:
    void setText(std::string_view c, const std::string& v) override { record(c, v); }
    void setFlag(std::string_view c, bool on) override { record(c, on ? "on" : "off"); }
    void setInteger(std::string_view c, std::int32_t v) override { record(c, std::to_string(v)); }
    void setPicture(const std::string& path) override { record("picture", path); }
    std::string text(std::string_view c) const override { return values.at(std::string(c)); }
    bool flag(std::string_view c) const override { return values.at(std::string(c)) == "on"; }
    std::int32_t integer(std::string_view c) const override { return std::stoi(values.at(std::string(c))); }
    std::string picture() const override { return values.at("picture"); }

    std::vector<std::string> order;
    std::map<std::string, std::string> values;

  private:
    void record(std::string_view c, const std::string& v)
    {
        order.emplace_back(c);
        values[std::string(c)] = v;
    }
};

TEST(LoadControls, EveryLineGoesToItsControlInLineOrder)
{
    RecordingControls controls;
    loadControls(defaultConfiguration(), controls);
    ASSERT_EQ(controls.order.size(), 69u);
    EXPECT_EQ(controls.order[0], "mame");
    EXPECT_EQ(controls.order[1], "picture");
    EXPECT_EQ(controls.order[18], "c55");
    EXPECT_EQ(controls.order[19], "frameskip");
    EXPECT_EQ(controls.order[68], "gamma");
    EXPECT_EQ(controls.values["c55"], "on");
    EXPECT_EQ(controls.values["samplerate"], "44100");
    EXPECT_EQ(controls.values["brightness"], " 0.000000");
    EXPECT_EQ(linesFromControls(controls), defaultConfiguration());
}

TEST(LoadControls, FlagsOnlyForAnExactOneAndIntegersInDecimal)
{
    LineList lines = defaultConfiguration();
    lines.set(18, "true");
    lines.set(23, " 1");
    lines.set(60, "1 ");
    lines.set(19, "007");
    lines.set(26, " 12");
    lines.set(63, "-5");
    RecordingControls controls;
    loadControls(lines, controls);
    EXPECT_EQ(controls.values["c55"], "off");
    EXPECT_EQ(controls.values["c60"], "off");
    EXPECT_EQ(controls.values["c99"], "off");
    EXPECT_EQ(controls.values["frameskip"], "7");
    EXPECT_EQ(controls.values["resolution1"], "12");
    EXPECT_EQ(controls.values["volume"], "-5");

    const LineList saved = linesFromControls(controls);
    EXPECT_EQ(saved.at(18), "0");
    EXPECT_EQ(saved.at(23), "0");
    EXPECT_EQ(saved.at(19), "7");
    EXPECT_EQ(saved.at(26), "12");
}

TEST(LoadControls, StopsAtTheFirstValueItCannotTake)
{
    LineList lines = defaultConfiguration();
    lines.set(26, "640x480");
    lines.set(40, "");
    RecordingControls controls;
    try {
        loadControls(lines, controls);
        FAIL() << "640x480 is no integer";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'640x480' is not a valid integer value");
    }
    ASSERT_EQ(controls.order.size(), 26u);
    EXPECT_EQ(controls.order.back(), "c62");

    lines.set(26, "0");
    RecordingControls again;
    EXPECT_THROW(
        {
            try {
                loadControls(lines, again);
            } catch (const ConvertError& e) {
                EXPECT_STREQ(e.what(), "'' is not a valid integer value");
                throw;
            }
        },
        ConvertError);
}

TEST(LoadControls, AShortFileFailsAtItsLineCount)
{
    for (int count : {0, 60, 68}) {
        LineList lines;
        for (int n = 0; n < count; ++n)
            lines.append(defaultConfiguration().at(n));
        RecordingControls controls;
        try {
            loadControls(lines, controls);
            FAIL() << count << " lines are too few";
        } catch (const ListIndexError& e) {
            EXPECT_EQ(e.index(), count);
        }
        EXPECT_EQ(controls.order.size(), static_cast<std::size_t>(count));
    }
}

TEST(LoadControls, ExtraLinesAreIgnored)
{
    LineList lines = defaultConfiguration();
    lines.append("extra");
    lines.append("more");
    RecordingControls controls;
    loadControls(lines, controls);
    EXPECT_EQ(linesFromControls(controls).count(), 69);
}

} // namespace
} // namespace arcavio
