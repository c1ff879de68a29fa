#include "Xml.h"

#include <cstring>
#include <tinyxml.h>

#include <QFile>

#include "AtomicFile.h"
#include "Text.h"

namespace tessary {

QString XmlElement::Name() const
{
    return m_e ? QString::fromUtf8(m_e->Value()) : QString();
}

bool XmlElement::NameIs(const char* name) const
{
    return m_e && std::strcmp(m_e->Value(), name) == 0;
}

bool XmlElement::HasAttribute(const char* name) const
{
    return AttributeUtf8(name) != nullptr;
}

const char* XmlElement::AttributeUtf8(const char* name) const
{
    return m_e ? m_e->Attribute(name) : nullptr;
}

QString XmlElement::Attribute(const char* name) const
{
    const char* v = AttributeUtf8(name);
    return v ? QString::fromUtf8(v) : QString();
}

bool XmlElement::IntAttribute(const char* name, int& value) const
{
    return LeadingInt(AttributeUtf8(name), value);
}

void XmlElement::SetAttribute(const char* name, const QString& value)
{
    if (m_e)
        m_e->SetAttribute(name, value.toUtf8().constData());
}

void XmlElement::SetAttribute(const char* name, int value)
{
    if (m_e)
        m_e->SetAttribute(name, value);
}

XmlElement XmlElement::FirstChild(const char* name) const
{
    if (!m_e)
        return XmlElement();
    return XmlElement(name ? m_e->FirstChildElement(name) : m_e->FirstChildElement());
}

XmlElement XmlElement::NextSibling(const char* name) const
{
    if (!m_e)
        return XmlElement();
    return XmlElement(name ? m_e->NextSiblingElement(name) : m_e->NextSiblingElement());
}

XmlElement XmlElement::AppendChild(const char* name)
{
    if (!m_e)
        return XmlElement();
    auto* child = new TiXmlElement(name);
    m_e->LinkEndChild(child);
    return XmlElement(child);
}

XmlDocument::XmlDocument() : m_doc(std::make_unique<TiXmlDocument>()) {}
XmlDocument::~XmlDocument() = default;

XmlElement XmlDocument::CreateRoot(const char* name)
{
    m_doc->Clear();
    m_doc->LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = new TiXmlElement(name);
    m_doc->LinkEndChild(root);
    return XmlElement(root);
}

XmlElement XmlDocument::Root() const
{
    return XmlElement(m_doc->RootElement());
}

bool XmlDocument::LoadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return Parse(f.readAll());
}

bool XmlDocument::Parse(const QByteArray& utf8)
{
    m_doc->Clear();
    if (utf8.isEmpty() || !XmlDepthWithin(utf8.constData(), size_t(utf8.size()), kMaxDepth))
        return false;
    // Row and column tracking costs about a third of the parse and nothing here reports
    // positions, so it stays off.
    m_doc->SetTabSize(0);
    // TinyXML reads up to the first NUL; the QByteArray is always NUL-terminated.
    m_doc->Parse(utf8.constData(), nullptr, TIXML_ENCODING_UTF8);
    if (m_doc->Error() || !m_doc->RootElement()) {
        m_doc->Clear();
        return false;
    }
    return true;
}

QByteArray XmlDocument::Print() const
{
    TiXmlPrinter printer;
    printer.SetIndent("    ");
    printer.SetLineBreak("\n");
    m_doc->Accept(&printer);
    return QByteArray(printer.CStr(), qsizetype(printer.Size()));
}

bool XmlDocument::SaveFile(const QString& path) const
{
    return WriteFileAtomically(path, Print());
}

bool XmlDepthWithin(const char* data, size_t size, int maxDepth)
{
    int depth = 0;
    const char* p = data;
    const char* end = data + size;
    auto skipPast = [&](const char* marker) {
        const size_t n = std::strlen(marker);
        while (p + n <= end && std::memcmp(p, marker, n) != 0)
            ++p;
        p = p + n <= end ? p + n : end;
    };
    while (p < end) {
        if (*p != '<') {
            ++p;
            continue;
        }
        if (end - p >= 4 && std::memcmp(p, "<!--", 4) == 0) {
            skipPast("-->");
        } else if (end - p >= 9 && std::memcmp(p, "<![CDATA[", 9) == 0) {
            skipPast("]]>");
        } else if (end - p >= 2 && (p[1] == '!' || p[1] == '?')) {
            skipPast(">");
        } else if (end - p >= 2 && p[1] == '/') {
            if (depth > 0)
                --depth;
            skipPast(">");
        } else {
            ++p;
            char quote = 0;
            while (p < end && (quote || *p != '>')) {
                if (quote && *p == quote)
                    quote = 0;
                else if (!quote && (*p == '"' || *p == '\''))
                    quote = *p;
                ++p;
            }
            const bool selfClosing = p < end && p[-1] == '/';
            if (!selfClosing && ++depth > maxDepth)
                return false;
            if (p < end)
                ++p;
        }
    }
    return true;
}

} // namespace tessary
