// Version texts, such as a newer version's from the maker. Input: version texts, each ended by
// a zero unit.
#include <climits>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "shell/version_text.h"

namespace {

struct Version {
    int major;
    int minor;
    int build;
};

int Compare(const Version& first, const Version& second)
{
    return CompareVersions(first.major, first.minor, first.build, second.major, second.minor, second.build);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    std::vector<Version> versions;
    while (!input.AtEnd()) {
        const std::wstring text = input.NextText();
        Version version = {-1, -1, -1};
        const Version untouched = version;
        if (!ParseVersionText(text, version.major, version.minor, version.build)) {
            FUZZ_EXPECT(Compare(version, untouched) == 0);
            continue;
        }
        FUZZ_EXPECT(version.major >= 0 && version.minor >= 0 && version.build >= 0);
        // The numbers written out again read as the same version.
        const std::wstring written =
            std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L"." + std::to_wstring(version.build);
        Version again = untouched;
        FUZZ_EXPECT(ParseVersionText(written, again.major, again.minor, again.build));
        FUZZ_EXPECT(Compare(version, again) == 0);
        // More digits never make an older version.
        Version longer = untouched;
        FUZZ_EXPECT(ParseVersionText(text + L"9", longer.major, longer.minor, longer.build));
        FUZZ_EXPECT(Compare(longer, version) >= 0);
        versions.push_back(version);
    }
    // The order is one: antisymmetric and transitive.
    for (const Version& first : versions) {
        for (const Version& second : versions) {
            const int order = Compare(first, second);
            FUZZ_EXPECT(order >= -1 && order <= 1 && order == -Compare(second, first));
            for (const Version& third : versions) {
                if (order <= 0 && Compare(second, third) <= 0)
                    FUZZ_EXPECT(Compare(first, third) <= 0);
            }
        }
    }
    return 0;
}
