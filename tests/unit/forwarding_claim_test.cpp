#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "platform/scoped_resource.h"
#include "services/forwarding_claim.h"
#include "services/single_instance_protocol.h"

namespace {

// The ids a claim is offered: first the guessed ones another process took, then fresh ones.
int guessedIdsLeft = 0;

std::wstring GuessedId(int index)
{
    return std::to_wstring(::GetCurrentProcessId()) + L"-7-" + std::to_wstring(index);
}

std::wstring GuessedThenRandomId()
{
    if (guessedIdsLeft > 0)
        return GuessedId(guessedIdsLeft--);
    return RandomClaimId();
}

std::wstring AlwaysGuessedId()
{
    return GuessedId(1);
}

std::wstring ObjectName(const std::wstring& id)
{
    return std::wstring(SingleInstanceMutexName) + L"-claim-" + id;
}

std::wstring RecordedId(const ForwardingClaim& claim)
{
    const std::wstring record = claim.RecordFor(L"vantor_source.exe --open clip.ts");
    std::wstring id;
    std::wstring commandLine;
    EXPECT_TRUE(SplitClaimedRecord(record.data(), record.size(), &id, &commandLine));
    EXPECT_EQ(L"vantor_source.exe --open clip.ts", commandLine);
    return id;
}

// What another local process may have made under the names a start would use.
enum class Squatter { None, SemaphoreWithoutToken, SemaphoreWithToken, Mutex };

struct SquatCase {
    const char* name;
    Squatter squatter;
    int takenNames;
};

const SquatCase SquatCases[] = {
    {"NothingTaken", Squatter::None, 0},
    {"OneNameTakenWithoutToken", Squatter::SemaphoreWithoutToken, 1},
    {"ThreeNamesTakenWithoutToken", Squatter::SemaphoreWithoutToken, 3},
    {"OneNameTakenWithAToken", Squatter::SemaphoreWithToken, 1},
    {"OneNameTakenByAMutex", Squatter::Mutex, 1},
};

HANDLE Squat(Squatter squatter, const std::wstring& id)
{
    const std::wstring name = ObjectName(id);
    switch (squatter) {
    case Squatter::SemaphoreWithoutToken:
        return ::CreateSemaphoreW(nullptr, 0, 1, name.c_str());
    case Squatter::SemaphoreWithToken:
        return ::CreateSemaphoreW(nullptr, 1, 1, name.c_str());
    case Squatter::Mutex:
        return ::CreateMutexW(nullptr, FALSE, name.c_str());
    case Squatter::None:
        break;
    }
    return nullptr;
}

} // namespace

TEST(ForwardingClaim, FreshIdsAreRandomAndFitARecord)
{
    const std::wstring first = RandomClaimId();
    const std::wstring second = RandomClaimId();
    EXPECT_NE(first, second);
    for (const std::wstring& id : {first, second}) {
        EXPECT_LE(id.size(), MaxClaimIdLength);
        EXPECT_EQ(std::wstring::npos, id.find_first_not_of(L"0123456789-")) << "an id of digits and dashes";
    }
    ForwardingClaim claim;
    ASSERT_TRUE(claim.IsValid());
    EXPECT_EQ(std::wstring::npos, RecordedId(claim).find(std::to_wstring(::GetCurrentProcessId()) + L"-"))
        << "nothing a process can guess";
}

TEST(ForwardingClaim, ANameSomeoneElseMadeIsNeverUsedSoTheLineIsTakenExactlyOnce)
{
    for (const SquatCase& squat : SquatCases) {
        vantor::ScopedHandle squatted[3];
        for (int i = 0; i < squat.takenNames; ++i)
            squatted[i].Reset(Squat(squat.squatter, GuessedId(squat.takenNames - i)));
        guessedIdsLeft = squat.takenNames;

        ForwardingClaim claim(GuessedThenRandomId);
        ASSERT_TRUE(claim.IsValid()) << squat.name;
        const std::wstring id = RecordedId(claim);
        for (int i = 1; i <= squat.takenNames; ++i)
            EXPECT_NE(GuessedId(i), id) << squat.name;

        // The running instance takes the line; the start, late, finds it taken.
        EXPECT_TRUE(TakeForwardingClaim(id)) << squat.name;
        EXPECT_FALSE(claim.TakeBack()) << squat.name;
        EXPECT_FALSE(TakeForwardingClaim(id)) << squat.name << ": once only";
    }
}

TEST(ForwardingClaim, ALateStartTakesItsLineBackUnlessTheInstanceTookIt)
{
    ForwardingClaim claim;
    ASSERT_TRUE(claim.IsValid());
    const std::wstring id = RecordedId(claim);
    EXPECT_TRUE(claim.TakeBack());
    EXPECT_FALSE(TakeForwardingClaim(id)) << "the start runs the line itself";
}

TEST(ForwardingClaim, WhenEveryNameIsTakenTheLineGoesUnclaimed)
{
    const vantor::ScopedHandle squatted(::CreateSemaphoreW(nullptr, 0, 1, ObjectName(AlwaysGuessedId()).c_str()));
    const ForwardingClaim claim(AlwaysGuessedId);
    EXPECT_FALSE(claim.IsValid()) << "the plain record is sent instead";
}
