// The claim that makes a forwarded command line handled exactly once. A later start that
// forwards its line may stop waiting for a running instance that does not answer in time and
// run on its own; the line it sent may still reach that instance later. So the start sends a
// claimed record: a one-token semaphore of its own, named in the record, that the running
// instance must take before it accepts the line, and that the start takes itself when it stops
// waiting. Whoever takes the token handles the line; the other leaves it.
//
// A claimed record (tag ClaimedCommandLineTag) holds the claim's id, a zero code unit, then the
// command line. Ids are decimal digits and dashes, at most MaxClaimIdLength code units.
//
// Any local process may create a semaphore of a name it can guess, without a token, and so
// make the running instance refuse a line the start can no longer take back. So ids are drawn
// from the system's random numbers, and a semaphore that already existed is never used.
#pragma once

#include <string>

#include <windows.h>

#include "platform/scoped_resource.h"

inline constexpr ULONG_PTR ClaimedCommandLineTag = 0x890DF6AF;
inline constexpr size_t MaxClaimIdLength = 64;

// A fresh id from the system's random numbers; empty when none could be had.
std::wstring RandomClaimId();

typedef std::wstring (*ClaimIdSource)();

// The sender's side: the token, created untaken under a fresh id.
class ForwardingClaim {
public:
    // Ids come from makeId until one names no existing object.
    explicit ForwardingClaim(ClaimIdSource makeId = RandomClaimId);

    // False when no semaphore of its own could be made; the line then goes unclaimed.
    bool IsValid() const { return token.IsValid(); }
    // The record's data: the id, a zero, the command line.
    std::wstring RecordFor(const std::wstring& commandLine) const;
    // Takes the token back; false when the running instance took it first, and so the line.
    bool TakeBack();

private:
    std::wstring id;
    vantor::ScopedHandle token;
};

// A claimed record's parts; false when it is no claimed record (no zero, or an id of other
// characters or length).
bool SplitClaimedRecord(const wchar_t* data, size_t codeUnits, std::wstring* id, std::wstring* commandLine);

// The receiver's side: takes the token of the claim id; false when it is gone or taken.
bool TakeForwardingClaim(const std::wstring& id);
