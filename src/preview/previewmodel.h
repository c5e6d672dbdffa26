#pragma once

#include "elementquery.h"
#include "codec.h"
#include "layout.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointF>
#include <QString>

#include <array>
#include <cstdint>

namespace jukora {

/// Font heights the labels hold, in pixels of the 96-dpi preview. Every size
/// the font-size list offers is a whole pixel height, so a label reports back
/// exactly the size it was given.
namespace FontPixels {
constexpr int Standard = 23; // 17.25 pt
constexpr int Medium = 18;   // 13.5 pt
constexpr int Small = 16;    // 12 pt
constexpr int Big = 26;      // 19.5 pt
} // namespace FontPixels

/// Label alignment code, the same as the alignment list's index and the
/// value the patch carries.
enum Alignment : int { AlignLeftCode = 0, AlignRightCode = 1, AlignCenterCode = 2 };

/// One of the thirteen preview elements. Labels use the text fields too.
struct Element
{
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool enabled = true;
    // Text labels only.
    QString caption;
    int pixelSize = 0;
    bool bold = false;
    bool italic = false;
    int alignment = AlignLeftCode;
};

/// The state of the preview: the elements, the drag state and the guide
/// lines. Scene items are views of it; the placeholder rules query it.
class PreviewModel : public QObject, public patch::ElementQuery
{
    Q_OBJECT

public:
    static constexpr int kSlots = 14; ///< indices 0-13; 8 is no element
    static constexpr float kWidth = 240.0f;
    static constexpr float kHeight = 320.0f;

    explicit PreviewModel(QObject *parent = nullptr);

    static constexpr bool isElement(int index)
    {
        return patch::isImageIndex(index) || patch::isLabelIndex(index);
    }

    const Element &element(int index) const
    {
        return m_elements.at(static_cast<std::size_t>(index));
    }

    // patch::ElementQuery
    float left(int index) const override { return element(index).left; }
    float top(int index) const override { return element(index).top; }
    float coverWidth() const override { return element(patch::AlbumCover).width; }
    int alignment(int labelIndex) const override { return element(labelIndex).alignment; }

    /// Positions, alignments and cover width: what a patch carries.
    patch::Layout layout() const;
    /// Takes every position, alignment and the cover width of `layout`.
    void setLayout(const patch::Layout &layout);

    void setPosition(int index, float left, float top);
    void setCoverSize(float size);
    void setLabelPixelSize(int index, int pixelSize);
    void setLabelBold(int index, bool bold);
    void setLabelItalic(int index, bool italic);
    void setLabelAlignment(int index, int alignment);
    void setAllEnabled(bool enabled);

    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);

    const QImage &background() const { return m_background; }
    void setBackground(const QImage &image);

    // Drag state shared by the press, the moves and Generate.
    std::int16_t SelIndex = 0;
    float GrabX = 0;
    float GrabY = 0;

    /// The element last taken hold of, for keyboard placement; -1 before the
    /// first press. Separate from SelIndex, which moves without the button
    /// clear.
    int lastPressed() const { return m_lastPressed; }

    float guideX() const { return m_guideX; }
    float guideY() const { return m_guideY; }
    bool guidesVisible() const { return m_guidesVisible; }
    void setGuidesVisible(bool visible);
    /// Puts the guide lines back where they start, on no element.
    void resetGuides();

    /// A left press on an element: note the grab point (inside the element,
    /// preview pixels) and the element, and make every element deaf until the
    /// release.
    void pressElement(int index, QPointF grab);
    /// A move over the preview with the buttons held. Returns true when it
    /// placed the drag target.
    bool surfaceMove(Qt::MouseButtons buttons, QPointF pos);
    /// The release over the preview: every element takes the mouse again.
    void surfaceRelease();
    /// Moves the element last pressed by whole pixels, through the same edge
    /// and band rules as a drag. Returns false when no element was pressed.
    bool nudge(int dx, int dy);

signals:
    /// Position or size changed.
    void elementChanged(int index);
    /// Font, bold, italic or alignment of a label changed.
    void labelStyleChanged(int index);
    void enabledChanged();
    void guidesChanged();
    void textColorChanged();
    void backgroundChanged();
    /// The element was placed by a drag or a nudge; read-outs follow it.
    void targetPlaced(int index);

private:
    void applyLayout(const patch::Layout &layout);
    void place(int index, float dx, float dy);
    template <typename Change> void restyleLabel(int index, Change &&change);
    Element &mutableElement(int index) { return m_elements.at(static_cast<std::size_t>(index)); }

    std::array<Element, kSlots> m_elements;
    QColor m_textColor{192, 192, 192};
    QImage m_background;
    float m_guideX = 0;
    float m_guideY = 0;
    bool m_guidesVisible = true;
    int m_lastPressed = -1;
};

} // namespace jukora
