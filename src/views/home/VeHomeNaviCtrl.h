#pragma once
// The home page's navigation column: the background picture at the top left, its last row
// stretched down when the column is taller, and the four links (maker's website, online
// help, contact, About) stacked near the top. UI thread only; the column owns its links.

#include <array>

#include <QImage>
#include <QWidget>

namespace tessary {

class VeHyperLinkCtrl;

class VeHomeNaviCtrl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLinkCount = 4;
    static constexpr int kLinkLeft = 18;
    static constexpr int kFirstLinkTop = 26;
    static constexpr int kLinkPitch = 36;

    enum LinkIndex { kWebsiteLink, kHelpLink, kContactLink, kAboutLink };

    explicit VeHomeNaviCtrl(QWidget* parent = nullptr);

    VeHyperLinkCtrl* Link(int index) const { return m_links[size_t(index)]; }

    // The background of a column of this size: the picture, its last row repeated below it,
    // white right of it.
    static QImage ComposeBackground(const QImage& picture, const QSize& size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::array<VeHyperLinkCtrl*, kLinkCount> m_links{};
    QImage m_background; // composed for the current size
};

} // namespace tessary
