#pragma once

#include "codec.h"
#include "elementquery.h"
#include "layout.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QUndoStack>

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

/// How a text label is drawn; of it only the alignment reaches the patch.
struct LabelStyle
{
    int pixelSize = 0;
    bool bold = false;
    bool italic = false;
    int alignment = patch::AlignLeftCode;

    bool operator==(const LabelStyle &) const = default;
};

/// One of the thirteen preview elements. Labels use the text fields too.
struct Element
{
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    // Text labels only.
    QString caption;
    LabelStyle style;

    /// Field by field, so that a field added later counts as a change.
    bool operator==(const Element &) const = default;
};

/// The document: the elements with their positions, sizes and label styles,
/// the text colour and the background. Scene items are views of it; the
/// placeholder rules query it. It knows nothing of the mouse.
class PreviewModel : public QObject, public patch::ElementQuery
{
    Q_OBJECT

public:
    static constexpr int kSlots = int(patch::kElementSlots);
    static constexpr float kWidth = float(patch::kScreenWidth);
    static constexpr float kHeight = float(patch::kScreenHeight);

    explicit PreviewModel(QObject *parent = nullptr);

    static constexpr bool isElement(int index) { return patch::isElementIndex(index); }

    const Element &element(int index) const
    {
        return m_elements.at(static_cast<std::size_t>(index));
    }

    // patch::ElementQuery
    float left(int index) const override { return element(index).left; }
    float top(int index) const override { return element(index).top; }
    float coverWidth() const override { return element(patch::AlbumCover).width; }
    int alignment(int labelIndex) const override { return element(labelIndex).style.alignment; }

    /// The whole document, for the undo history. Equal states draw the
    /// same preview.
    struct State
    {
        std::array<Element, kSlots> elements;
        QColor textColor;
        QImage background;
        bool operator==(const State &other) const;
    };
    State state() const { return {m_elements, m_textColor, m_background}; }
    /// Puts the document back as `state` had it; `restored` follows.
    void restore(const State &state);

    QUndoStack *undoStack() const { return m_undoStack; }
    /// Records the change made since `before` as one step of the history
    /// (nothing when the document is unchanged). Nudges pass their merge id
    /// and the series they belong to.
    void commit(const QString &text, const State &before, int mergeId = -1, int series = 0);

    /// Positions, alignments and cover width: what a patch carries.
    patch::Layout layout() const;
    /// Takes every position, alignment and the cover width of `layout`.
    void setLayout(const patch::Layout &layout);

    void setPosition(int index, float left, float top);
    void setCoverSize(float size);
    /// A label's font size, bold, italic and alignment; nothing for an image.
    void setLabelStyle(int index, const LabelStyle &style);

    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);

    const QImage &background() const { return m_background; }
    void setBackground(const QImage &image);

signals:
    /// The document was put back by an undo or a redo.
    void restored();
    /// Position or size changed.
    void elementChanged(int index);
    /// Font, bold, italic or alignment of a label changed.
    void labelStyleChanged(int index);
    void textColorChanged();
    void backgroundChanged();

private:
    void applyLayout(const patch::Layout &layout);
    /// Every element's position and every label's style changed.
    void announceAllElements();
    Element &mutableElement(int index) { return m_elements.at(static_cast<std::size_t>(index)); }

    std::array<Element, kSlots> m_elements;
    QUndoStack *m_undoStack;
    QColor m_textColor{192, 192, 192};
    QImage m_background;
};

} // namespace jukora
