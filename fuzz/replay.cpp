// Runs every kept input of one fuzz target (its seed corpus and its regression cases) through
// the target's entry, so that the test build checks them without a fuzzer. A broken property
// aborts, an exception escapes: either fails the test that names the file.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::string> keptInputs()
{
    std::vector<std::string> files;
    for (const char* directory : {ARCAVIO_FUZZ_CORPUS, ARCAVIO_FUZZ_REGRESSIONS}) {
        if (!std::filesystem::is_directory(directory))
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(directory))
            if (entry.is_regular_file() && entry.path().filename().string().front() != '.')
                files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class KeptInput : public ::testing::TestWithParam<std::string> {};

TEST_P(KeptInput, RunsThroughTheTarget)
{
    std::ifstream file(GetParam(), std::ios::binary);
    ASSERT_TRUE(file) << GetParam();
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string testName(const ::testing::TestParamInfo<std::string>& info)
{
    // "corpus_" or "regressions_", then the file's name.
    const std::filesystem::path path(info.param);
    std::string name = path.parent_path().parent_path().filename().string() + "_" + path.filename().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) == 0; },
        '_');
    return name + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(Fuzz, KeptInput, ::testing::ValuesIn(keptInputs()), testName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(KeptInput);

} // namespace
