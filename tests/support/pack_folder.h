// A program folder of its own for a test: a library standing for the program file, and a
// "lang" folder with copies of chosen fixture packs (and whatever else a test puts there).
#pragma once

#include <map>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "framework/interfaces/program_settings.h"
#include "platform/scoped_resource.h"

class PackFolder {
public:
    // packs: file names in bin/fixture_packs, copied into "lang"; no "lang" folder when withLangFolder is false.
    explicit PackFolder(const std::vector<std::wstring>& packs, bool withLangFolder = true);
    ~PackFolder();
    PackFolder(const PackFolder&) = delete;
    PackFolder& operator=(const PackFolder&) = delete;

    // The module whose file stands for the program.
    HMODULE Program() const { return program.Get(); }
    std::wstring LangPath(const std::wstring& file) const { return folder + L"lang\\" + file; }
    // A path in the folder.
    std::wstring Path(const std::wstring& relative) const { return folder + relative; }
    // Puts a file with the given bytes into "lang", or anywhere in the folder.
    void AddLangFile(const std::wstring& file, const std::string& bytes) const;
    void AddFile(const std::wstring& relative, const std::string& bytes) const;

private:
    std::wstring folder;
    vantor::ScopedLibrary program;
};

// The path of a fixture pack built beside the tests.
std::wstring FixturePack(const std::wstring& file);

// At most limit bytes from the start of a file.
std::string ReadFileStart(const std::wstring& path, size_t limit);

// Settings kept in memory, noting reads and writes of texts.
class InMemorySettings : public OxProgramSettingsEmpty {
public:
    InMemorySettings() : OxProgramSettingsEmpty(nullptr) {}

    std::wstring GetString(const std::wstring& name, const std::wstring& defaultValue) override
    {
        reads.push_back(name);
        const auto found = texts.find(name);
        return found != texts.end() ? found->second : defaultValue;
    }
    bool SetString(const std::wstring& name, const std::wstring& value) override
    {
        writes.push_back(name + L"=" + value);
        texts[name] = value;
        return true;
    }

    std::map<std::wstring, std::wstring> texts;
    std::vector<std::wstring> reads;
    std::vector<std::wstring> writes;
};
