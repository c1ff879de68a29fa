#include "InstanceLock.h"

#include <QDir>
#include <QLockFile>

namespace tessary {

InstanceLock::InstanceLock(const QString& name)
    : m_path(QDir::tempPath() + QLatin1Char('/') + name + QStringLiteral(".lock"))
{
}

InstanceLock::~InstanceLock() = default;

InstanceLock::Result InstanceLock::TryAcquire()
{
    m_lock = std::make_unique<QLockFile>(m_path);
    // A lock whose owner process is gone counts as stale at once.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return Result::Acquired;
    const QLockFile::LockError error = m_lock->error();
    m_lock.reset();
    return error == QLockFile::LockFailedError ? Result::HeldElsewhere : Result::Failed;
}

void InstanceLock::Release()
{
    m_lock.reset();
}

} // namespace tessary
