// Texts and lists of texts as the registry keeps them: a text ends in a zero; a list
// (REG_MULTI_SZ) is each text followed by a zero, then one more zero. Templates on the code unit,
// so that the same code reads UTF-16 data whatever the width of wchar_t; free of Win32.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vantor {

// Whether count code units end as a text's data must: in a zero, and for a list in two zeros
// unless the list is that one zero alone.
template <class Char>
bool EndsAsRegistryText(const Char* units, size_t count, bool isList)
{
    return count >= 1 && units[count - 1] == Char() && (!isList || count == 1 || units[count - 2] == Char());
}

// The texts of a list's count code units, up to the first empty one; a last text that the end
// cuts short counts as far as it goes.
template <class Char>
std::vector<std::basic_string<Char>> SplitTextList(const Char* units, size_t count)
{
    std::vector<std::basic_string<Char>> list;
    size_t start = 0;
    while (start < count && units[start] != Char()) {
        size_t end = start;
        while (end < count && units[end] != Char())
            ++end;
        list.emplace_back(units + start, end - start);
        start = end + 1;
    }
    return list;
}

// The list's data: a text that is empty or holds a zero ends the list for its readers there.
template <class Char>
std::basic_string<Char> JoinTextList(const std::vector<std::basic_string<Char>>& list)
{
    std::basic_string<Char> joined;
    for (const std::basic_string<Char>& text : list) {
        joined += text;
        joined += Char();
    }
    joined += Char();
    return joined;
}

} // namespace vantor
