#include "XmlWriter.h"

#include <charconv>
#include <cstring>

#include "AtomicFile.h"

namespace tessary {

namespace {
constexpr size_t kBlock = size_t(1) << 20;
constexpr char kIndent[] = "    ";
constexpr size_t kIndentSize = sizeof(kIndent) - 1;

// The document layer's escaping of one byte; returns the new write position.
inline char* EscapeByte(char* p, unsigned char c)
{
    switch (c) {
    case '&': std::memcpy(p, "&amp;", 5); return p + 5;
    case '<': std::memcpy(p, "&lt;", 4); return p + 4;
    case '>': std::memcpy(p, "&gt;", 4); return p + 4;
    case '"': std::memcpy(p, "&quot;", 6); return p + 6;
    case '\'': std::memcpy(p, "&apos;", 6); return p + 6;
    default:
        if (c < 32) {
            static const char kHex[] = "0123456789ABCDEF";
            p[0] = '&'; p[1] = '#'; p[2] = 'x';
            p[3] = kHex[c >> 4]; p[4] = kHex[c & 15]; p[5] = ';';
            return p + 6;
        }
        *p = char(c);
        return p + 1;
    }
}

// Everything after the first NUL is dropped, as when the text passes through a C string.
QStringView UpToNul(QStringView v)
{
    const qsizetype nul = v.indexOf(QChar(0));
    return nul < 0 ? v : v.left(nul);
}

std::string_view UpToNul(std::string_view v)
{
    const size_t nul = v.find('\0');
    return nul == std::string_view::npos ? v : v.substr(0, nul);
}
} // namespace

XmlWriter::XmlWriter(QByteArray& out) : m_out(&out)
{
    m_buf.resize(qsizetype(kBlock));
}

XmlWriter::XmlWriter(AtomicFileWriter& file) : m_file(&file)
{
    m_buf.resize(qsizetype(kBlock + kBlock / 4));
}

XmlWriter::~XmlWriter() = default;

void XmlWriter::Flush()
{
    if (m_file && m_len > 0) {
        if (!m_file->Write(m_buf.constData(), m_len))
            m_failed = true;
        m_len = 0;
    }
}

char* XmlWriter::Reserve(size_t n)
{
    if (size_t(m_buf.size()) - m_len < n) {
        Flush();
        if (size_t(m_buf.size()) - m_len < n)
            m_buf.resize(qsizetype(std::max(m_len + n, size_t(m_buf.size()) * 2)));
    }
    return m_buf.data() + m_len;
}

void XmlWriter::Indent(char*& p) const
{
    for (size_t i = 0; i < m_open.size(); ++i) {
        std::memcpy(p, kIndent, kIndentSize);
        p += kIndentSize;
    }
}

void XmlWriter::Declaration()
{
    static const char kDecl[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";
    char* p = Reserve(sizeof(kDecl));
    std::memcpy(p, kDecl, sizeof(kDecl) - 1);
    m_len += sizeof(kDecl) - 1;
}

void XmlWriter::OpenPendingParent()
{
    if (!m_startPending)
        return;
    char* p = Reserve(2);
    p[0] = '>';
    p[1] = '\n';
    m_len += 2;
    m_startPending = false;
}

void XmlWriter::StartElement(const char* name)
{
    OpenPendingParent();
    const size_t n = std::strlen(name);
    char* p = Reserve(m_open.size() * kIndentSize + n + 1);
    Indent(p);
    *p++ = '<';
    std::memcpy(p, name, n);
    m_len = size_t(p + n - m_buf.data());
    m_open.push_back(name);
    m_startPending = true;
}

void XmlWriter::EndElement()
{
    if (m_open.empty())
        return;
    const char* name = m_open.back();
    m_open.pop_back();
    if (m_startPending) {
        char* p = Reserve(4);
        std::memcpy(p, " />\n", 4);
        m_len += 4;
        m_startPending = false;
    } else {
        const size_t n = std::strlen(name);
        char* p = Reserve(m_open.size() * kIndentSize + n + 4);
        Indent(p);
        *p++ = '<';
        *p++ = '/';
        std::memcpy(p, name, n);
        p += n;
        *p++ = '>';
        *p++ = '\n';
        m_len = size_t(p - m_buf.data());
    }
    if (m_file && m_len >= kBlock)
        Flush();
}

char* XmlWriter::BeginAttribute(const char* name, bool singleQuotes, size_t valueMax)
{
    const size_t n = std::strlen(name);
    char* p = Reserve(n + valueMax + 4);
    *p++ = ' ';
    std::memcpy(p, name, n);
    p += n;
    *p++ = '=';
    *p++ = singleQuotes ? '\'' : '"';
    return p;
}

void XmlWriter::Attribute(const char* name, QStringView value)
{
    value = UpToNul(value);
    const bool single = value.contains(QLatin1Char('"'));
    char* p = BeginAttribute(name, single, size_t(value.size()) * 6);
    const char16_t* u = value.utf16();
    const qsizetype size = value.size();
    qsizetype i = 0;
    for (; i < size && u[i] < 0x80; ++i)
        p = EscapeByte(p, static_cast<unsigned char>(u[i]));
    if (i < size) {
        // UTF-16 splits cleanly before an ASCII unit, so the rest converts on its own.
        const QByteArray rest = value.mid(i).toUtf8();
        for (const char c : rest)
            p = EscapeByte(p, static_cast<unsigned char>(c));
    }
    *p++ = single ? '\'' : '"';
    m_len = size_t(p - m_buf.data());
}

void XmlWriter::AttributeUtf8(const char* name, std::string_view value)
{
    value = UpToNul(value);
    const bool single = value.find('"') != std::string_view::npos;
    char* p = BeginAttribute(name, single, value.size() * 6);
    for (const char c : value)
        p = EscapeByte(p, static_cast<unsigned char>(c));
    *p++ = single ? '\'' : '"';
    m_len = size_t(p - m_buf.data());
}

void XmlWriter::Attribute(const char* name, int value)
{
    char digits[16];
    const auto r = std::to_chars(digits, digits + sizeof(digits), value);
    const size_t n = size_t(r.ptr - digits);
    char* p = BeginAttribute(name, false, n);
    std::memcpy(p, digits, n);
    p += n;
    *p++ = '"';
    m_len = size_t(p - m_buf.data());
}

bool XmlWriter::Finish()
{
    while (!m_open.empty())
        EndElement();
    if (m_file) {
        Flush();
    } else if (m_out) {
        m_buf.resize(qsizetype(m_len));
        *m_out = std::move(m_buf);
        m_buf = QByteArray();
        m_len = 0;
    }
    return !m_failed;
}

} // namespace tessary
