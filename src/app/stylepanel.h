#pragma once

#include "element.h"

#include <QList>
#include <QObject>
#include <QString>

class QCheckBox;
class QComboBox;
class QWidget;

namespace jukora {

class PreviewModel;
struct LabelStyle;

/// The style controls (font size, bold, italic, alignment) as a view of one
/// label's style in the model: they show the target label's style after a
/// press, an undo, a redo or a reopen, and each edit a user makes is one
/// step of the history. A style control added later is a field of
/// LabelStyle, a line in show(), a line in shown() and its connect.
class StylePanel : public QObject
{
    Q_OBJECT

public:
    StylePanel(PreviewModel &model, QComboBox *fontSize, QCheckBox *bold, QCheckBox *italic,
               QComboBox *alignment, QObject *parent = nullptr);

    /// The label the controls act on: the last one pressed, NoElement before.
    int target() const { return m_target; }
    /// Makes `label` the target and shows its style.
    void setTarget(int label);

    /// The style the controls show (for the target; the target's own where
    /// a control has no entry for it).
    LabelStyle shown() const;
    /// Every control of the panel, in the order they were handed in.
    const QList<QWidget *> &controls() const { return m_controls; }

private:
    /// Shows the target's style, without any control's edit handling.
    void show();
    /// One user edit: the target takes the controls' style as one step.
    void commit(const QString &step);

    PreviewModel &m_model;
    QComboBox *m_fontSize;
    QCheckBox *m_bold;
    QCheckBox *m_italic;
    QComboBox *m_alignment;
    QList<QWidget *> m_controls;
    int m_target = patch::NoElement;
    bool m_showing = false;
};

} // namespace jukora
