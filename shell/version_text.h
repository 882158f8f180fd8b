// Version texts "major.minor.build" and the order of versions. Free of Win32, so that it builds
// and runs natively too.
#pragma once

#include <string>

// The numbers of a text that is exactly three non-empty runs of decimal digits joined by two
// dots; false, with the numbers untouched, for any other text. A number beyond the range of int
// counts as the largest int.
bool ParseVersionText(const std::wstring& text, int& majorVersion, int& minorVersion, int& buildNumber);

// -1, 0 or 1 as the first version is older than, the same as or newer than the second; the
// major version counts first, then the minor version, then the build number.
int CompareVersions(int majorVersion, int minorVersion, int buildNumber, int otherMajorVersion, int otherMinorVersion,
                    int otherBuildNumber);
