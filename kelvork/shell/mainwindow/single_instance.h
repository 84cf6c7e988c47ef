#pragma once
// One copy of the program per user: a lock file named after "Kelvork2003" in the user's runtime
// folder, held with an advisory lock, so a copy that crashed does not block the next start (the
// system drops the lock with the process).

#include <QString>

namespace kelvork::shell {

class SingleInstanceLock {
public:
    // Tries to take the lock "<runtime folder>/<name>.lock"; held until destruction.
    explicit SingleInstanceLock(const QString& name = QStringLiteral("Kelvork2003"));
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // False when another copy holds it. A lock file that cannot be created at all does not keep
    // the program from starting (acquired() is then true and nothing is locked).
    bool acquired() const { return acquired_; }
    const QString& path() const { return path_; }

    // $XDG_RUNTIME_DIR when set and present, else the system's temporary folder. Needs no
    // QCoreApplication (the lock is taken before the application object exists).
    static QString runtimeFolder();

private:
    QString path_;
    int fd_ = -1;
    bool acquired_ = false;
};

} // namespace kelvork::shell
