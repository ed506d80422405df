#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace korvelan {

// Recognises a second start of the program by the same user: the first instance holds a lock file
// in the user's runtime folder for as long as it runs. A lock left by an instance that was killed
// is found stale and taken over.
class SingleInstance {
public:
    // `lockPath` defaults to "korvelan.lock" in the user's runtime folder.
    explicit SingleInstance(const QString &lockPath = QString());
    ~SingleInstance();

    // True when no other instance holds the lock; this instance then holds it until destroyed.
    bool acquire();

    static QString defaultLockPath();

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace korvelan
