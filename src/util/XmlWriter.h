#pragma once
// Writes an XML document element by element, without building a document first, in exactly
// the form XmlDocument::Print() gives: the declaration, one element per line, four blanks of
// indent per level, attributes in call order, an element without children as "<Name ... />".
// Values are escaped like the document layer does, except that "&" is always written as
// "&amp;" (the document layer passes "&#x" through unchanged, which alters such a text when
// it is read back). A NUL ends a value, as it does in the document layer.
// Not thread-safe; one writer per thread.

#include <memory>
#include <string_view>
#include <vector>
#include <QByteArray>
#include <QString>

namespace tessary {

class AtomicFileWriter;

class XmlWriter {
public:
    // Collects the text; Finish() hands it to `out`.
    explicit XmlWriter(QByteArray& out);
    // Streams the text to `file` in blocks of about a mebibyte.
    explicit XmlWriter(AtomicFileWriter& file);
    ~XmlWriter();
    XmlWriter(const XmlWriter&) = delete;
    XmlWriter& operator=(const XmlWriter&) = delete;

    // <?xml version="1.0" encoding="UTF-8" ?>
    void Declaration();
    // `name` must be a plain ASCII name that lives until the matching EndElement().
    void StartElement(const char* name);
    // Attributes belong to the element last started, before any child is started.
    void Attribute(const char* name, QStringView value);
    void Attribute(const char* name, int value);
    void AttributeUtf8(const char* name, std::string_view value);
    void EndElement();

    // Closes every element still open and writes out what is buffered; false when a write
    // to the file failed.
    bool Finish();

private:
    char* Reserve(size_t n);
    void Flush();
    void OpenPendingParent();
    void Indent(char*& p) const;
    char* BeginAttribute(const char* name, bool singleQuotes, size_t valueMax);

    QByteArray* m_out = nullptr;
    AtomicFileWriter* m_file = nullptr;
    QByteArray m_buf; // its size is the capacity; m_len bytes are used
    size_t m_len = 0;
    std::vector<const char*> m_open;
    bool m_startPending = false;
    bool m_failed = false;
};

} // namespace tessary
