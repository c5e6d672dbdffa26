#include "stylepanel.h"

#include "previewmodel.h"
#include "textstyle.h"

#include <QCheckBox>
#include <QComboBox>

namespace jukora {

StylePanel::StylePanel(PreviewModel &model, QComboBox *fontSize, QCheckBox *bold, QCheckBox *italic,
                       QComboBox *alignment, QObject *parent)
    : QObject(parent), m_model(model), m_fontSize(fontSize), m_bold(bold), m_italic(italic),
      m_alignment(alignment), m_controls{fontSize, bold, italic, alignment}
{
    connect(m_fontSize, &QComboBox::currentIndexChanged, this, [this] { commit(tr("Font size")); });
    connect(m_bold, &QCheckBox::toggled, this, [this] { commit(tr("Bold")); });
    connect(m_italic, &QCheckBox::toggled, this, [this] { commit(tr("Italic")); });
    connect(m_alignment, &QComboBox::currentIndexChanged, this,
            [this] { commit(tr("Alignment")); });
    connect(&m_model, &PreviewModel::labelStyleChanged, this, [this](int label) {
        if (label == m_target)
            show();
    });
    connect(&m_model, &PreviewModel::restored, this, &StylePanel::show);
}

void StylePanel::setTarget(int label)
{
    m_target = label;
    show();
}

void StylePanel::show()
{
    if (!patch::isLabelIndex(m_target))
        return;
    const LabelStyle &style = m_model.element(m_target).style;
    m_showing = true;
    m_italic->setChecked(style.italic);
    m_bold->setChecked(style.bold);
    if (const auto entry = TextStyle::entryForPixelSize(style.pixelSize))
        m_fontSize->setCurrentIndex(*entry);
    m_alignment->setCurrentIndex(style.alignment);
    m_showing = false;
}

LabelStyle StylePanel::shown() const
{
    LabelStyle style = m_model.element(m_target).style;
    if (const auto pixels = TextStyle::pixelSizeForEntry(m_fontSize->currentText()))
        style.pixelSize = *pixels;
    style.bold = m_bold->isChecked();
    style.italic = m_italic->isChecked();
    if (patch::isAlignmentCode(m_alignment->currentIndex()))
        style.alignment = m_alignment->currentIndex();
    return style;
}

void StylePanel::commit(const QString &step)
{
    if (m_showing || !patch::isLabelIndex(m_target))
        return;
    const PreviewModel::State before = m_model.state();
    m_model.setLabelStyle(m_target, shown());
    m_model.commit(step, before);
}

} // namespace jukora
