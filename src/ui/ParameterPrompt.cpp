#include "ui/ParameterPrompt.h"

#include "ui/DialogParts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace slidesmith::ui {
namespace {

// The classic layout is measured in twips, 15 to a pixel on a 96 dpi screen.
constexpr int kTwipsPerPixel = 15;
constexpr int kButtonGap = 225 / kTwipsPerPixel;
// The classic form added 840 twips below the buttons, but that included its title bar and
// borders, which Qt draws outside the client area; the gap above the buttons is kept below too.
constexpr int kBottomMargin = kButtonGap;

constexpr int kMargin = 12;
constexpr int kLabelWidth = 200;
constexpr int kMaxLabelWidth = 560;
constexpr int kBoxWidth = 260;
constexpr int kRowHeight = 23;
constexpr int kRowPitch = 31;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 27;

} // namespace

ParameterPrompt::ParameterPrompt(definition::ReportDefinition& definition, QWidget* parent)
    : QDialog(parent), m_definition(definition) {
    setObjectName(QStringLiteral("frmInputPara"));
    setWindowTitle(QStringLiteral("Input Parameters"));
    int count =
        static_cast<int>(std::min(m_definition.Parameters.size(), definition::kMaxListEntries));
    // Labels grow to their longest title, so that no prompt is cut off.
    int labelWidth = kLabelWidth;
    for (int i = 0; i < count; ++i) {
        const definition::ParameterEntry& parameter =
            m_definition.Parameters[static_cast<std::size_t>(i)];
        QString caption = FromUtf8(parameter.Title.empty() ? parameter.Name : parameter.Title);
        labelWidth = std::max(labelWidth, fontMetrics().horizontalAdvance(caption) + 8);
    }
    labelWidth = std::min(labelWidth, kMaxLabelWidth);
    int boxLeft = kMargin + labelWidth + kMargin;
    int lastBottom = kMargin;
    for (int i = 0; i < static_cast<int>(definition::kMaxListEntries); ++i) {
        auto index = static_cast<std::size_t>(i);
        QLineEdit* box = MakeLineEdit(this, "txtPVaule");
        box->setObjectName(ArrayName("txtPVaule", i));
        QLabel* label = MakeLabel(this, "lblPName", QString(), box);
        label->setObjectName(ArrayName("lblPName", i));
        int top = kMargin + i * kRowPitch;
        label->setGeometry(kMargin, top, labelWidth, kRowHeight);
        box->setGeometry(boxLeft, top, kBoxWidth, kRowHeight);
        m_labels[index] = label;
        m_boxes[index] = box;
        if (i >= count) {
            label->hide();
            box->hide();
            continue;
        }
        const definition::ParameterEntry& parameter = m_definition.Parameters[index];
        QString caption = FromUtf8(parameter.Title.empty() ? parameter.Name : parameter.Title);
        // Only a title wider than the screen-friendly maximum is shortened; it stays whole in
        // the tool tip.
        label->setText(fontMetrics().elidedText(caption, Qt::ElideRight, labelWidth));
        label->setToolTip(caption);
        box->setText(FromUtf8(parameter.Default));
        connect(box, &QLineEdit::textChanged, this, [this, index] { m_edited[index] = true; });
        lastBottom = top + kRowHeight;
    }

    QPushButton* ok = MakeButton(this, "cmdOK", QStringLiteral("&OK"));
    QPushButton* cancel = MakeButton(this, "cmdCancel", QStringLiteral("&Cancel"));
    ok->setDefault(true);
    int width = boxLeft + kBoxWidth + kMargin;
    int buttonTop = lastBottom + kButtonGap;
    ok->setGeometry(width - kMargin - 2 * kButtonWidth - 8, buttonTop, kButtonWidth, kButtonHeight);
    cancel->setGeometry(width - kMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
    setFixedSize(width, buttonTop + kButtonHeight + kBottomMargin);

    connect(ok, &QPushButton::clicked, this, &ParameterPrompt::Confirm);
    connect(cancel, &QPushButton::clicked, this, &ParameterPrompt::reject);
}

void ParameterPrompt::Confirm() {
    for (std::size_t i = 0; i < m_definition.Parameters.size() && i < m_boxes.size(); ++i) {
        if (m_edited[i])
            m_definition.Modified = true;
        m_definition.Parameters[i].Default = ToUtf8(m_boxes[i]->text());
    }
    m_result = kAnswerYes;
    accept();
}

void ParameterPrompt::reject() {
    m_result = kAnswerNo;
    QDialog::reject();
}

int ShowParameterPrompt(QWidget* parent, definition::ReportDefinition& definition) {
    ParameterPrompt prompt(definition, parent);
    prompt.exec();
    return prompt.DialogResult();
}

} // namespace slidesmith::ui
