#include "components/metafilerenderer.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "components/metafileconversion.h"
#include "support/error_message.h"
#include "support/metafile_samples.h"
#include "support/temp_dir.h"

namespace arcavio {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string kMetafileProgram = ARCAVIO_BUILD_DIR "/arcavio-metafile";
const std::string kStandIn = ARCAVIO_BUILD_DIR "/tests/support/child_standin";
const std::string kInvalid = "Metafile is not valid";

std::string messageOf(auto&& action)
{
    return test::errorMessageOf<PictureError>(action);
}

TEST(MetafileConversion, EnhancedMetafileBecomesSvgWithItsShapes)
{
    const std::string svg = enhancedMetafileToSvg(test::enhancedMetafileSample(0x0000FF00));
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("<rect"), std::string::npos);
    EXPECT_NE(svg.find("#00FF00"), std::string::npos) << svg;
}

TEST(MetafileConversion, WindowsMetafileBecomesSvgWithItsShapes)
{
    const std::string svg = metafileToSvg(test::metafileSample());
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("<rect"), std::string::npos) << svg;
}

TEST(MetafileConversion, DataThatIsNoMetafileIsRefused)
{
    EXPECT_EQ(messageOf([] { enhancedMetafileToSvg(""); }), kInvalid);
    EXPECT_EQ(messageOf([] { enhancedMetafileToSvg(std::string(300, 'x')); }), kInvalid);
    EXPECT_EQ(messageOf([] { enhancedMetafileToSvg(test::metafileSample()); }), kInvalid);
    EXPECT_EQ(messageOf([] { enhancedMetafileToSvg(test::enhancedMetafileSample().substr(0, 60)); }),
              kInvalid);
    EXPECT_EQ(messageOf([] { metafileToSvg(""); }), kInvalid);
    EXPECT_EQ(messageOf([] { metafileToSvg(std::string(300, 'x')); }), kInvalid);
    EXPECT_EQ(messageOf([] { metafileToSvg(test::enhancedMetafileSample()); }), kInvalid);
}

std::string answer(std::uint32_t width, std::uint32_t height, std::vector<std::uint32_t> pixels)
{
    return encodeRenderedPicture(static_cast<int>(width), static_cast<int>(height), pixels);
}

TEST(RenderedPicture, AWholeAnswerReadsBackAsWritten)
{
    const std::vector<std::uint32_t> pixels = {0xFF102030, 0x00000000, 0x80808080,
                                               0xFFFFFFFF, 0x40102030, 0x01010101};
    const ArgbPicture picture = decodeRenderedPicture(answer(3, 2, pixels));
    EXPECT_EQ(picture.width, 3);
    EXPECT_EQ(picture.height, 2);
    EXPECT_EQ(picture.pixels, pixels);

    const ArgbPicture largest = decodeRenderedPicture(
        answer(kLargestMetafileSide, 1, std::vector<std::uint32_t>(kLargestMetafileSide, 0xFF000000)));
    EXPECT_EQ(largest.width, kLargestMetafileSide);
}

TEST(RenderedPicture, AnythingButAWholeWellFormedAnswerIsRefused)
{
    const std::string good = answer(2, 2, {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000});
    std::string wrongMagic = good;
    wrongMagic[0] = 'X';
    const std::vector<std::string> bad = {
        "",
        "AVMF",
        good.substr(0, 11),
        wrongMagic,
        good.substr(0, good.size() - 1), // one byte short
        good + '\0',                     // one byte over
        answer(0, 1, {}),
        answer(1, 0, {}),
        answer(kLargestMetafileSide + 1, 1, std::vector<std::uint32_t>(kLargestMetafileSide + 1, 0xFF000000)),
        // Sides whose product overflows 32 bits and wraps to a small count.
        answer(0x10000, 0x10000, {}),
        answer(0xFFFFFFFF, 1, {}),
        answer(1, 1, {0x10FF0000}), // a colour above its alpha
        answer(1, 1, {0x7F00807F}),
    };
    for (const std::string& bytes : bad)
        EXPECT_EQ(messageOf([&] { decodeRenderedPicture(bytes); }), kInvalid) << bytes.size();
}

std::size_t peakVirtualMemory()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmPeak:"))
            return std::stoull(line.substr(7)) * 1024;
    return 0;
}

class MetafileProgram : public ::testing::Test {
  protected:
    void SetUp() override
    {
        saved_ = metafileRenderer();
        metafileRenderer().program = kMetafileProgram;
    }
    void TearDown() override { metafileRenderer() = saved_; }

    // A copy of the stand-in named for what it does whatever it is asked.
    std::string standIn(const std::string& mode)
    {
        const std::string path = dir_.file(mode);
        std::filesystem::copy_file(kStandIn, path);
        return path;
    }

    test::TempDir dir_;

  private:
    MetafileRenderer saved_;
};

TEST_F(MetafileProgram, DrawsBothKindsAtTheirOwnSize)
{
    for (const auto& [bytes, format] :
         {std::pair{test::enhancedMetafileSample(0x00FF0000), PictureFormat::EnhancedMetafile},
          std::pair{test::metafileSample(0x00FF0000), PictureFormat::Metafile}}) {
        const ArgbPicture picture = renderMetafile(bytes, format);
        EXPECT_NEAR(picture.width, 100, 2);
        EXPECT_NEAR(picture.height, 50, 2);
        const std::uint32_t middle = picture.pixels[static_cast<std::size_t>(25 * picture.width + 50)];
        EXPECT_EQ(middle, 0xFF0000FFu) << std::hex << middle; // opaque blue
    }
    // The kind is the caller's: an enhanced metafile is no Windows metafile.
    EXPECT_EQ(messageOf([] { renderMetafile(test::enhancedMetafileSample(), PictureFormat::Metafile); }),
              kInvalid);
    EXPECT_EQ(messageOf([] { renderMetafile("not a metafile", PictureFormat::EnhancedMetafile); }), kInvalid);
}

TEST_F(MetafileProgram, AFileThatCrashesTheLibraryCostsOnlyTheProgramThatReadIt)
{
    const std::string crafted = test::enhancedMetafileReadingPastItsEnd();
    // It really does crash the metafile program...
    platform::ChildRequest request;
    request.program = kMetafileProgram;
    request.arguments = {"emf"};
    request.input = crafted;
    request.timeout = 60s;
    const platform::ChildResult crashed = platform::runChild(request);
    if (platform::kSanitizedBuild) {
        EXPECT_EQ(crashed.end, platform::ChildEnd::Exited); // the sanitizer reports the crash
        EXPECT_NE(crashed.exitCode, 0);
    } else {
        EXPECT_EQ(crashed.end, platform::ChildEnd::Signalled);
        EXPECT_EQ(crashed.signal, SIGSEGV);
    }
    // ...and here it is only a picture that cannot be shown.
    EXPECT_EQ(messageOf([&] { renderMetafile(crafted, PictureFormat::EnhancedMetafile); }), kInvalid);
    EXPECT_NEAR(renderMetafile(test::enhancedMetafileSample(), PictureFormat::EnhancedMetafile).width, 100,
                2);
}

TEST_F(MetafileProgram, AHeaderClaimingGigabytesFailsWithinTheLimits)
{
    const std::string bytes = test::metafileClaimingGigabytes();
    ASSERT_EQ(bytes.size(), 23u);
    const std::size_t before = peakVirtualMemory();
    const auto start = Clock::now();
    EXPECT_EQ(messageOf([&] { renderMetafile(bytes, PictureFormat::Metafile); }), kInvalid);
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 5.0);
    // The claim never reaches this program's memory.
    EXPECT_LT(peakVirtualMemory() - before, std::size_t{1} << 30);
}

TEST_F(MetafileProgram, ACrashALimitATimeoutOrABadAnswerIsAnInvalidMetafile)
{
    metafileRenderer().timeout = 500ms;
    metafileRenderer().limits = {std::uint64_t{256} << 20, 2};
    for (const char* mode : {"crash", "loop", "sleep", "allocate", "flood", "garbage", "echo", "exit"}) {
        metafileRenderer().program = standIn(mode);
        const auto start = Clock::now();
        EXPECT_EQ(messageOf([] {
                      renderMetafile(test::enhancedMetafileSample(), PictureFormat::EnhancedMetafile);
                  }),
                  kInvalid)
            << mode;
        EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 10.0) << mode;
    }
    metafileRenderer().program = dir_.file("missing");
    EXPECT_EQ(messageOf([] { renderMetafile(test::metafileSample(), PictureFormat::Metafile); }), kInvalid);
}

TEST_F(MetafileProgram, IsFoundBesideTheProgramOrInItsInstallLocation)
{
    // A copy of a program that prints where it would look, placed as in a build tree and as
    // installed.
    const std::string finder = ARCAVIO_BUILD_DIR "/tests/components/metafile_finder";
    const std::string bin = dir_.mkdir("bin");
    std::filesystem::copy_file(finder, bin + "/arcavio");
    platform::ChildRequest request;
    request.program = bin + "/arcavio";
    request.timeout = 60s;
    EXPECT_EQ(platform::runChild(request).output, dir_.path() + "/libexec/arcavio/arcavio-metafile");
    dir_.write("bin/arcavio-metafile", "");
    EXPECT_EQ(platform::runChild(request).output, bin + "/arcavio-metafile");
}

} // namespace
} // namespace arcavio
