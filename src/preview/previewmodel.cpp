#include "previewmodel.h"

#include "undocommand.h"

namespace jukora {

namespace {

Element image(float width, float height)
{
    Element e;
    e.width = width;
    e.height = height;
    return e;
}

Element label(float width, float height, const char *caption, int pixelSize)
{
    Element e = image(width, height);
    e.caption = QString::fromLatin1(caption);
    e.style.pixelSize = pixelSize;
    e.style.bold = true;
    return e;
}

} // namespace

PreviewModel::PreviewModel(QObject *parent) : QObject(parent), m_undoStack(new QUndoStack(this))
{
    // Each step holds two small states; pictures in them are shared.
    m_undoStack->setUndoLimit(5000);
    using namespace patch;
    // Sizes and captions here; positions, alignments and the cover's width
    // come from the default layout, which the command line shares.
    m_elements[ArtistIcon] = image(24, 24);
    m_elements[TitleIcon] = image(24, 24);
    m_elements[AlbumIcon] = image(24, 24);
    m_elements[BassIndicator] = image(30, 22);
    m_elements[PlayerLogo] = image(75, 50);
    m_elements[RepeatIndicator] = image(30, 22);
    m_elements[ShuffleIndicator] = image(30, 22);
    m_elements[AlbumCover] = image(150, 150);
    m_elements[TrackNumber] = label(80, 20, "01/99", FontPixels::Medium);
    m_elements[PlayTime] = label(80, 20, "00:00", FontPixels::Medium);
    m_elements[ArtistLabel] = label(190, 29, "Artist", FontPixels::Medium);
    m_elements[TitleLabel] = label(190, 29, "Title", FontPixels::Standard);
    m_elements[AlbumLabel] = label(190, 29, "Album", FontPixels::Medium);
    applyLayout(defaultLayout());
}

bool PreviewModel::State::operator==(const State &other) const
{
    // A picture is the same when it is the very same image data.
    return elements == other.elements && textColor == other.textColor &&
           background.cacheKey() == other.background.cacheKey();
}

void PreviewModel::announceAllElements()
{
    for (int i = 0; i < kSlots; ++i) {
        if (!isElement(i))
            continue;
        emit elementChanged(i);
        if (patch::isLabelIndex(i))
            emit labelStyleChanged(i);
    }
}

void PreviewModel::restore(const State &state)
{
    m_elements = state.elements;
    m_textColor = state.textColor;
    m_background = state.background;
    announceAllElements();
    emit textColorChanged();
    emit backgroundChanged();
    emit restored();
}

void PreviewModel::commit(const QString &text, const State &before, int mergeId, int series)
{
    State after = state();
    if (after == before)
        return;
    m_undoStack->push(new DocumentCommand(*this, text, before, std::move(after), mergeId, series));
}

patch::Layout PreviewModel::layout() const
{
    patch::Layout l;
    for (int i = 0; i < kSlots; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        l.left[slot] = element(i).left;
        l.top[slot] = element(i).top;
        l.alignment[slot] = element(i).style.alignment;
    }
    l.coverWidth = coverWidth();
    return l;
}

void PreviewModel::applyLayout(const patch::Layout &layout)
{
    for (int i = 0; i < kSlots; ++i) {
        if (!isElement(i))
            continue;
        const auto slot = static_cast<std::size_t>(i);
        Element &e = mutableElement(i);
        e.left = layout.left[slot];
        e.top = layout.top[slot];
        if (patch::isLabelIndex(i))
            e.style.alignment = layout.alignment[slot];
    }
    Element &cover = mutableElement(patch::AlbumCover);
    cover.width = layout.coverWidth;
    cover.height = layout.coverWidth;
}

void PreviewModel::setLayout(const patch::Layout &layout)
{
    applyLayout(layout);
    announceAllElements();
}

void PreviewModel::setPosition(int index, float left, float top)
{
    if (!isElement(index))
        return;
    Element &e = mutableElement(index);
    e.left = left;
    e.top = top;
    emit elementChanged(index);
}

void PreviewModel::setCoverSize(float size)
{
    Element &e = mutableElement(patch::AlbumCover);
    e.width = size;
    e.height = size;
    emit elementChanged(patch::AlbumCover);
}

void PreviewModel::setLabelStyle(int index, const LabelStyle &style)
{
    if (!patch::isLabelIndex(index))
        return;
    mutableElement(index).style = style;
    emit labelStyleChanged(index);
}

void PreviewModel::setTextColor(const QColor &color)
{
    m_textColor = color;
    emit textColorChanged();
}

void PreviewModel::setBackground(const QImage &image)
{
    m_background = image;
    emit backgroundChanged();
}

} // namespace jukora
