#include "services/forwarding_claim.h"

#include <algorithm>

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

} // namespace

ForwardingClaim::ForwardingClaim()
{
    // Unique among the processes that can be alive at the same time, also when an id is reused.
    static LONG counter = 0;
    id = std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount64()) + L"-"
        + std::to_wstring(::InterlockedIncrement(&counter));
    token.Reset(::CreateSemaphoreW(nullptr, 1, 1, ClaimObjectName(id).c_str()));
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
    const ScopedHandle token(::OpenSemaphoreW(SYNCHRONIZE, FALSE, ClaimObjectName(id).c_str()));
    return token && ::WaitForSingleObject(token.Get(), 0) == WAIT_OBJECT_0;
}
