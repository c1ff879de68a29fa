#pragma once
// The per-user "named mutex" of the single-instance check: a lock file that the first
// instance holds for its lifetime. A lock left by a killed process is detected and taken over.
// UI thread only.

#include <memory>
#include <QString>

class QLockFile;

namespace tessary {

class InstanceLock {
public:
    enum class Result { Acquired, HeldElsewhere, Failed };

    explicit InstanceLock(const QString& name);
    ~InstanceLock();

    Result TryAcquire();
    void Release();
    QString Path() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace tessary
