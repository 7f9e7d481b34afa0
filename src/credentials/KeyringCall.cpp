#include "credentials/KeyringCall.h"

namespace KeyringCall {
namespace {

// Long enough for a person to type a keyring password.
std::atomic<qint64> deadlineMs = 60000;
std::atomic<int> stuck = 0;
// Each stuck call holds a thread and a D-Bus call of the secret store.
constexpr int maxStuck = 4;

} // namespace

std::chrono::milliseconds deadline()
{
    return std::chrono::milliseconds(deadlineMs.load());
}

void setDeadlineForTesting(std::chrono::milliseconds newDeadline)
{
    deadlineMs = newDeadline.count();
}

bool tooManyStuck()
{
    return stuck.load() >= maxStuck;
}

void noteStuck(int change)
{
    stuck += change;
}

} // namespace KeyringCall
