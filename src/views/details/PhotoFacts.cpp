#include "PhotoFacts.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "imagefiles/ImageLoader.h"
#include "imagefiles/PhotoMetadata.h"

namespace tessary {

QEvent::Type PhotoFactsEvent::Type()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

PhotoFacts ReadPhotoFacts(int32_t key, const QString& path)
{
    PhotoFacts facts;
    facts.key = key;
    facts.path = path;
    const QFileInfo info(path);
    if (!info.isFile())
        return facts;
    facts.size = info.size();
    if (const std::optional<DibSize> size = LoadHeader(path)) {
        facts.readable = true;
        facts.width = size->width;
        facts.height = size->height;
    }
    facts.dateTaken = DateTaken(path);
    return facts;
}

QString InfoSizeText(uint32_t bytes)
{
    if (bytes < 1024)
        return QStringLiteral("%1 bytes").arg(bytes);
    if (bytes < 1048576)
        return QStringLiteral("%1 KB").arg(bytes / 1024 + ((bytes & 0x3FF) ? 1 : 0));
    return QString::asprintf("%3.2f MB", double(bytes) / 1048576.0);
}

QString DateTakenText(const std::optional<DateTime>& taken)
{
    if (!taken || taken->date.IsNull())
        return QStringLiteral("n/a");
    CalendarTime t;
    taken->date.GetYmd(t.year, t.month, t.day);
    const uint32_t ms = taken->time.Milliseconds();
    if (ms < 86400000u) {
        t.hour = int(ms / 3600000);
        t.minute = int(ms / 60000 % 60);
        t.second = int(ms / 1000 % 60);
    }
    const QString text = LocaleDateTimeText(t);
    return text.isEmpty() ? QStringLiteral("n/a") : text;
}

PhotoFactsReader::PhotoFactsReader(QObject* receiver) : m_receiver(receiver) {}

PhotoFactsReader::~PhotoFactsReader()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    StopAndWait();
}

void PhotoFactsReader::Request(int32_t key, const QString& path)
{
    {
        std::lock_guard lock(m_mutex);
        m_next.emplace(key, path);
    }
    m_wake.notify_one();
    if (!HasThread())
        Start();
}


int PhotoFactsReader::Run()
{
    for (;;) {
        std::pair<int32_t, QString> request;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || m_next.has_value(); });
            if (m_quit || IsStopRequested())
                return 1;
            request = std::move(*m_next);
            m_next.reset();
        }
        QCoreApplication::postEvent(m_receiver, new PhotoFactsEvent(ReadPhotoFacts(request.first, request.second)));
    }
}

} // namespace tessary
