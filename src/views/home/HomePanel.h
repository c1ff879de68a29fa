#pragma once
// The right-hand part of the home page: the banner across the top (stretched to the full
// width) with the welcome heading, the four large buttons under it, a separator line and a
// footer text near the bottom. Positions come from a fixed template; on resize the buttons are centred (one
// column, or two by two once the panel is wide enough), the separator goes to
// max(bottom - 47, template top + 15) and the footer keeps its distance below it.
// Buttons post their commands to the top-level window. UI thread only; the panel owns its
// children.

#include <array>

#include <QWidget>

class QLabel;

namespace tessary {

class HomeButton;

class HomePanel : public QWidget {
    Q_OBJECT
public:
    // Control ids of the template.
    static constexpr int kIdNewAlbum = 1000;
    static constexpr int kIdTutorials = 1001;
    static constexpr int kIdOpenAlbum = 1002;
    static constexpr int kIdDonate = 1003;
    static constexpr int kIdSeparator = 1006;
    static constexpr int kIdFooter = 1007;
    static constexpr int kButtonCount = 4;

    // Template positions, in pixels.
    static constexpr int kBannerHeight = 90;
    static constexpr int kHeadingBandHeight = 60; // the heading's band at the banner's top
    static constexpr int kButtonsTop = 140;
    static constexpr int kButtonPitchY = 68;    // one button plus the gap below it
    static constexpr int kButtonGapX = 24;      // between the columns of the grid
    static constexpr int kSideMargin = 24;      // of separator and footer
    static constexpr int kGridMinWidth = 800;   // from here on two by two
    static constexpr int kSeparatorTop = 400;
    static constexpr int kFooterTop = 412;
    static constexpr int kFooterHeight = 18;
    static constexpr int kSeparatorBottomGap = 47;
    static constexpr int kSeparatorMinDrop = 15;

    explicit HomePanel(QWidget* parent = nullptr);

    // Buttons in the order "Create a New Album", "Open an Existing Album", "View Online
    // Tutorials", "Make a Donation".
    HomeButton* Button(int index) const { return m_buttons[size_t(index)]; }
    HomeButton* ButtonById(int controlId) const;
    QWidget* Separator() const { return m_separator; }
    QLabel* Footer() const { return m_footer; }

    static int SeparatorTopFor(int clientHeight);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOut();

    std::array<HomeButton*, kButtonCount> m_buttons{};
    QWidget* m_separator;
    QLabel* m_footer;
};

} // namespace tessary
