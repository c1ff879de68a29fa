#pragma once
// A thin layer over TinyXML for the album and settings files. Names and values cross as
// QString (or ASCII literals for names) and are stored as UTF-8. Integer attributes are read
// as a leading decimal number. Elements are non-owning handles into their document.
// Not thread-safe; one document per thread.

#include <memory>
#include <QByteArray>
#include <QString>

class TiXmlDocument;
class TiXmlElement;

namespace tessary {

class XmlElement {
public:
    XmlElement() = default;
    explicit XmlElement(TiXmlElement* e) : m_e(e) {}

    bool IsNull() const { return m_e == nullptr; }
    explicit operator bool() const { return m_e != nullptr; }

    QString Name() const;
    // Compares the stored UTF-8 name with an ASCII name without converting.
    bool NameIs(const char* name) const;

    bool HasAttribute(const char* name) const;
    // Empty when absent.
    QString Attribute(const char* name) const;
    // Raw UTF-8 value, null when absent; valid until the attribute changes.
    const char* AttributeUtf8(const char* name) const;
    // True when present and starting with a decimal number (which is stored in `value`).
    bool IntAttribute(const char* name, int& value) const;

    void SetAttribute(const char* name, const QString& value);
    void SetAttribute(const char* name, int value);

    // First child element (with that name when given), or a null element.
    XmlElement FirstChild(const char* name = nullptr) const;
    // Next sibling element (with that name when given), or a null element.
    XmlElement NextSibling(const char* name = nullptr) const;
    XmlElement AppendChild(const char* name);

    TiXmlElement* Raw() const { return m_e; }

private:
    TiXmlElement* m_e = nullptr;
};

class XmlDocument {
public:
    // Documents nested deeper than this are refused before parsing (the parser recurses).
    static constexpr int kMaxDepth = 256;

    XmlDocument();
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // A new document: declaration "1.0" / "UTF-8" (no standalone) and the root element.
    XmlElement CreateRoot(const char* name);
    XmlElement Root() const;

    // False when the file cannot be read or is not well-formed XML.
    bool LoadFile(const QString& path);
    bool Parse(const QByteArray& utf8);

    QByteArray Print() const;
    // Replaces the file atomically; false on any failure, the old file then untouched.
    bool SaveFile(const QString& path) const;

private:
    // `data` holds `size` bytes followed by padding NULs.
    bool ParsePadded(const char* data, size_t size);

    std::unique_ptr<TiXmlDocument> m_doc;
};

// Whether the element nesting of a document stays within `maxDepth` (a cheap scan that
// guards the recursive parser against hostile input).
bool XmlDepthWithin(const char* data, size_t size, int maxDepth);

} // namespace tessary
