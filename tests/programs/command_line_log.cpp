#include "command_line_log.h"

#include "platform/scoped_resource.h"

namespace {

// Record: emittedAt (8 bytes), count (4), then per line its length in code units (4) and the
// code units.
template <class T>
void Put(std::string& record, const T& value)
{
    record.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

template <class T>
bool Take(const std::string& data, size_t& position, T& value)
{
    if (data.size() - position < sizeof(value))
        return false;
    memcpy(&value, data.data() + position, sizeof(value));
    position += sizeof(value);
    return true;
}

} // namespace

bool AppendBatch(const std::wstring& path, const CommandLineBatch& batch)
{
    std::string record;
    Put(record, batch.emittedAt);
    Put(record, static_cast<UINT32>(batch.commandLines.size()));
    for (const std::wstring& line : batch.commandLines) {
        Put(record, static_cast<UINT32>(line.size()));
        record.append(reinterpret_cast<const char*>(line.data()), line.size() * sizeof(wchar_t));
    }
    const vantor::ScopedHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr)
        && written == record.size();
}

std::vector<CommandLineBatch> ReadBatches(const std::wstring& path)
{
    std::vector<CommandLineBatch> batches;
    const vantor::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return batches;
    std::string data;
    char chunk[65536];
    DWORD read = 0;
    while (::ReadFile(file.Get(), chunk, sizeof(chunk), &read, nullptr) && read > 0)
        data.append(chunk, read);

    size_t position = 0;
    for (;;) {
        CommandLineBatch batch;
        UINT32 count = 0;
        if (!Take(data, position, batch.emittedAt) || !Take(data, position, count))
            return batches;
        for (UINT32 i = 0; i < count; ++i) {
            UINT32 length = 0;
            if (!Take(data, position, length) || data.size() - position < length * sizeof(wchar_t))
                return batches;
            batch.commandLines.emplace_back(reinterpret_cast<const wchar_t*>(data.data() + position), length);
            position += length * sizeof(wchar_t);
        }
        batches.push_back(batch);
    }
}
