#include "SearchEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QValidator>

namespace tessary {

namespace {

bool IsLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85) ||
           c == QChar(QChar::LineSeparator) || c == QChar(QChar::ParagraphSeparator);
}

// The line control runs every change through its validator and takes the text the validator
// leaves, so this is the one place that sees pastes and drops as well as typing.
class SingleLineValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override
    {
        const QString cleaned = ToSingleLine(input);
        if (cleaned != input) {
            // Keep the caret after the same text it followed.
            pos = int(ToSingleLine(input.left(pos)).size());
            if (pos > cleaned.size())
                pos = int(cleaned.size());
            input = cleaned;
        }
        return Acceptable;
    }
};

} // namespace

QString ToSingleLine(const QString& text)
{
    QString out;
    out.reserve(text.size());
    bool pendingBreak = false;
    for (const QChar c : text) {
        if (IsLineBreak(c)) {
            pendingBreak = !out.isEmpty();
            continue;
        }
        if (pendingBreak) {
            out += u' ';
            pendingBreak = false;
        }
        if (c == u'\t')
            out += u' ';
        else if (c.category() != QChar::Other_Control)
            out += c;
    }
    return out;
}

SearchEdit::SearchEdit(SearchEditOwner& owner, QWidget* parent) : QLineEdit(parent), m_owner(owner)
{
    setFrame(false);
    setValidator(new SingleLineValidator(this));
}

void SearchEdit::keyPressEvent(QKeyEvent* event)
{
    if (m_owner.OnEditKey(*event)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void SearchEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    m_owner.OnEditFocusIn();
}

void SearchEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    m_owner.OnEditFocusOut(event->reason());
}

} // namespace tessary
