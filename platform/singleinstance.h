#pragma once

#include <QString>

namespace korvelan {

// Recognises a second start of the program by the same user: the first instance holds a lock on a
// file in a folder of that user for as long as it runs. The lock belongs to the open file, not to
// what the file holds: the system releases it when its process ends, however it ends, so a file left
// by an instance that was killed, or emptied or garbled by a full disk, is simply taken over.
class SingleInstance {
public:
    // `lockPath` defaults to defaultLockPath().
    explicit SingleInstance(const QString &lockPath = QString());
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False only when another live instance holds the lock. True when this instance now holds it, and
    // also when no lock can be made at all (folder missing or read-only, locks not supported): the
    // program then runs without the guarantee, and the reason is written on standard error.
    bool acquire();

    // Whether acquire() got the lock: false when it gave way to a running instance or could make none.
    bool holdsLock() const { return m_fd >= 0; }

    // "korvelan.lock" in the user's runtime folder; without one, a file of the temporary folder whose
    // name carries the user id, so that users never meet each other's lock.
    static QString defaultLockPath();

private:
    QString m_path;
    int m_fd = -1;
};

} // namespace korvelan
