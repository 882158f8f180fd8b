#include "services/forwarding_claim.h"

#include <algorithm>
#include <cstdint>

#include <ntsecapi.h>

#include "services/single_instance_protocol.h"

namespace {

std::wstring ClaimObjectName(const std::wstring& id)
{
    return std::wstring(SingleInstanceMutexName) + L"-claim-" + id;
}

bool IsClaimId(const std::wstring& id)
{
    return !id.empty() && id.size() <= MaxClaimIdLength
        && std::all_of(id.begin(), id.end(), [](wchar_t c) { return (c >= L'0' && c <= L'9') || c == L'-'; });
}

// Fresh ids that name an existing object again and again mean someone makes them on purpose.
const int ClaimAttempts = 4;

} // namespace

std::wstring RandomClaimId()
{
    uint64_t random[2] = {};
    if (!::RtlGenRandom(random, sizeof(random)))
        return std::wstring();
    return std::to_wstring(random[0]) + L"-" + std::to_wstring(random[1]);
}

ForwardingClaim::ForwardingClaim(ClaimIdSource makeId)
{
    for (int attempt = 0; attempt < ClaimAttempts; ++attempt) {
        std::wstring candidate = makeId();
        if (!IsClaimId(candidate))
            return;
        vantor::ScopedHandle created(::CreateSemaphoreW(nullptr, 1, 1, ClaimObjectName(candidate).c_str()));
        // Someone else's semaphore may hold no token, or give it to a third party.
        if (created && ::GetLastError() != ERROR_ALREADY_EXISTS) {
            id = std::move(candidate);
            token = std::move(created);
            return;
        }
    }
}

std::wstring ForwardingClaim::RecordFor(const std::wstring& commandLine) const
{
    std::wstring record = id;
    record.push_back(L'\0');
    return record + commandLine;
}

bool ForwardingClaim::TakeBack()
{
    return token && ::WaitForSingleObject(token.Get(), 0) == WAIT_OBJECT_0;
}

bool SplitClaimedRecord(const wchar_t* data, size_t codeUnits, std::wstring* id, std::wstring* commandLine)
{
    if (data == nullptr)
        return false;
    const wchar_t* const end = data + codeUnits;
    const wchar_t* const separator = std::find(data, end, L'\0');
    if (separator == end)
        return false;
    std::wstring claimId(data, separator);
    if (!IsClaimId(claimId))
        return false;
    *id = std::move(claimId);
    commandLine->assign(separator + 1, end);
    return true;
}

bool TakeForwardingClaim(const std::wstring& id)
{
    if (!IsClaimId(id))
        return false;
    const vantor::ScopedHandle token(::OpenSemaphoreW(SYNCHRONIZE, FALSE, ClaimObjectName(id).c_str()));
    return token && ::WaitForSingleObject(token.Get(), 0) == WAIT_OBJECT_0;
}
