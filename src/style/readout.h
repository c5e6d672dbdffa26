#pragma once

#include <QHash>
#include <QStaticText>
#include <QWidget>

namespace jukora {

/// One figure of the read-out panel: the X, Y, width or height of the
/// element held. A drag changes X and Y at every placement, so the figure
/// is drawn from characters laid out once each, never from a text layout
/// made anew, and a change repaints only from the first character that
/// differs. Looks like a plain label: top-left, in its font and palette.
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
