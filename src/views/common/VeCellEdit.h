#pragma once
// VeCellEdit: the one-line editor placed over a cell of a row list (tag names and values,
// result names, collection names). Tahoma 14 pixels with no side margins, a two-pixel frame
// (outer pixel in the frame colour, inner white), scrolling horizontally, at most
// `maxLength` characters.
//
// Ending is a two-step protocol with the owner, run whenever the editor loses the focus (or
// a mouse button is pressed outside it while it is shown):
//   1. unless the end code is kEndCancel, the owner is asked CellEditMayEnd(); a refusal
//      keeps the editor open, gives it the focus back with its text selected, and swallows
//      the press that caused the ending;
//   2. the owner is told CellEditEnded(code) and the editor hides.
// The end code starts at kEndCommit when the editor is shown; Enter sets kEndEnter, Ctrl+Enter
// kEndCtrlEnter, Escape kEndCancel (each then moves the focus to the focus target), and losing
// the focus while the top-level window is minimised counts as kEndCancel. A guard keeps the
// protocol from running twice at once; the owner may show the editor again from inside
// CellEditEnded (the next value of the tags pane).
//
// Ownership: the owner is not owned and must outlive the editor; the editor is a child
// widget of the list it edits for. UI thread only.

#include <QColor>
#include <QLineEdit>
#include <QPointer>

namespace tessary {

class VeCellEdit;

class CellEditOwner {
public:
    virtual ~CellEditOwner() = default;
    // Validation before a committing end; false refuses (the editor stays open).
    virtual bool CellEditMayEnd(VeCellEdit& editor) = 0;
    // The ending, with the end code; the editor hides right after this returns, unless the
    // owner showed it again from here.
    virtual void CellEditEnded(VeCellEdit& editor, int endCode) = 0;
};

class VeCellEdit : public QLineEdit {
    Q_OBJECT

public:
    // End codes.
    static constexpr int kEndCommit = 0;    // shown; focus lost by other means
    static constexpr int kEndEnter = 1;     // Enter
    static constexpr int kEndCtrlEnter = 2; // Ctrl+Enter
    static constexpr int kEndCancel = 16;   // Escape; focus lost while minimised
    static bool IsCommitCode(int code) { return code >= kEndCommit && code <= kEndCtrlEnter; }

    static constexpr int kDefaultMaxLength = 100;
    static constexpr int kFrameWidth = 2;

    VeCellEdit(CellEditOwner& owner, Qt::Alignment alignment, const QColor& frameColor,
               QWidget* parent, int maxLength = kDefaultMaxLength);
    ~VeCellEdit() override;

    // Where the focus goes after Enter, Ctrl+Enter and Escape; the parent when unset or gone.
    void SetFocusTarget(QWidget* target) { focusTarget_ = target; }

    // Places the editor in `cell` (parent coordinates): as high as the text (a one-character
    // sample when empty) plus 4, centred vertically in a taller cell and then one pixel taller
    // at each end.
    void PlaceInCell(const QRect& cell);
    // Sets the end code to kEndCommit, shows the editor, gives it the focus and selects all.
    void ShowWithFocus();

    int EndCode() const { return endCode_; }
    // Shown by ShowWithFocus and not ended yet.
    bool IsOpen() const { return open_; }
    bool IsEnding() const { return ending_; }
    // Runs the end protocol now, as a loss of focus would; false when refused (or not shown).
    bool EndEdit();
    // Ends with kEndCancel (told to the owner) and hides; nothing when hidden.
    void CancelEdit();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool RunEndProtocol();
    void MoveFocusAway();

    CellEditOwner& owner_;
    QColor frameColor_;
    QPointer<QWidget> focusTarget_;
    int endCode_ = kEndCommit;
    bool ending_ = false;
    bool open_ = false;           // shown by ShowWithFocus and not ended yet
    int showSerial_ = 0;          // tells whether the owner showed the editor again
    int protocolRuns_ = 0;        // tells whether moving the focus ran the protocol
    bool swallowPresses_ = false; // until the event loop runs again after a refusal
};

} // namespace tessary
