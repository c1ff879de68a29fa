#pragma once
// The edit field inside the search box: a frameless single-line editor that hands its keys
// and focus changes to its owner before doing its own work. Whatever reaches the text (typed,
// pasted, dropped or set by the program) is kept on one line: a run of line breaks becomes
// one blank (dropped at the start and end of the text), a tab becomes a blank and other
// control characters are dropped. UI thread only.

#include <QLineEdit>

namespace tessary {

class SearchEditOwner {
public:
    virtual ~SearchEditOwner() = default;
    // True when the key was taken and the edit must not handle it.
    virtual bool OnEditKey(QKeyEvent& event) = 0;
    virtual void OnEditFocusIn() = 0;
    virtual void OnEditFocusOut(Qt::FocusReason reason) = 0;
};

// The one-line form of `text` described above.
QString ToSingleLine(const QString& text);

class SearchEdit : public QLineEdit {
    Q_OBJECT
public:
    // The owner is not owned and must outlive the edit.
    SearchEdit(SearchEditOwner& owner, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    SearchEditOwner& m_owner;
};

} // namespace tessary
