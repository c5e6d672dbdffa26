#pragma once

#include <QHash>
#include <QStaticText>
#include <QWidget>

namespace jukora {

/// A line of text that a drag changes at every placement: a figure of the
/// read-out panel (the X, Y, width or height of the element held) or the
/// status bar's line on the held element. It is drawn from characters laid
/// out once each, never from a text layout made anew; a change repaints
/// only from the first character that differs, and never asks for a new
/// layout of the window. Looks like a plain label: top-left, in its font
/// and palette.
class Readout : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)

public:
    explicit Readout(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Glyph
    {
        QStaticText text;
        qreal advance = 0;
    };
    const Glyph &glyph(QChar c);
    /// Where the character at `index` of `text` starts.
    qreal offset(const QString &text, qsizetype index);

    QString m_text;
    QHash<QChar, Glyph> m_glyphs;
};

} // namespace jukora
