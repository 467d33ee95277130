#pragma once
// The eight numbered re-entrant locks that the server's programs use around their shared files.
// Lock 0: the settings record's file I/O and the domain table (and the account files and password
// cipher); lock 5: the users of the database connection; lock 7: the server log.

#include <array>
#include <mutex>

namespace tolva::stores {

class NumberedLocks {
public:
    static constexpr int kCount = 8;

    void Lock(int n) { locks_.at(n).lock(); }
    void Unlock(int n) { locks_.at(n).unlock(); }
    bool TryLock(int n) { return locks_.at(n).try_lock(); }

private:
    std::array<std::recursive_mutex, kCount> locks_;
};

// Holds lock n for a scope.
class NumberedLockGuard {
public:
    NumberedLockGuard(NumberedLocks& locks, int n) : locks_(locks), n_(n) { locks_.Lock(n_); }
    ~NumberedLockGuard() { locks_.Unlock(n_); }
    NumberedLockGuard(const NumberedLockGuard&) = delete;
    NumberedLockGuard& operator=(const NumberedLockGuard&) = delete;

private:
    NumberedLocks& locks_;
    int n_;
};

}  // namespace tolva::stores
