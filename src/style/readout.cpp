#include "readout.h"

#include <QAccessible>
#include <QEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace jukora {

Readout::Readout(QWidget *parent) : QWidget(parent) {}

const Readout::Glyph &Readout::glyph(QChar c)
{
    auto found = m_glyphs.find(c);
    if (found == m_glyphs.end()) {
        Glyph g{QStaticText(QString(c)), QFontMetricsF(font()).horizontalAdvance(c)};
        g.text.setTextFormat(Qt::PlainText);
        g.text.prepare(QTransform(), font());
        found = m_glyphs.insert(c, g);
    }
    return *found;
}

qreal Readout::offset(const QString &text, qsizetype index)
{
    qreal x = 0;
    for (qsizetype i = 0; i < index && i < text.size(); ++i)
        x += glyph(text[i]).advance;
    return x;
}

void Readout::setText(const QString &text)
{
    if (text == m_text)
        return;
    const qsizetype same =
        std::mismatch(text.begin(), text.end(), m_text.begin(), m_text.end()).first - text.begin();
    const qreal from = offset(text, same);
    const qreal to = std::max(offset(text, text.size()), offset(m_text, m_text.size()));
    m_text = text;
    // A glyph may reach a pixel past its advance on either side.
    update(QRect(int(std::floor(from)) - 1, 0, int(std::ceil(to - from)) + 3, height()));
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, m_text);
        QAccessible::updateAccessibility(&event);
    }
}

void Readout::paintEvent(QPaintEvent *)
{
    // The background is filled by the widget itself (autoFillBackground).
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    qreal x = 0;
    for (const QChar c : std::as_const(m_text)) {
        const Glyph &g = glyph(c);
        painter.drawStaticText(QPointF(x, 0), g.text);
        x += g.advance;
    }
}

void Readout::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_glyphs.clear();
    QWidget::changeEvent(event);
}

} // namespace jukora
