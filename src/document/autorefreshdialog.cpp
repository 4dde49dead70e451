#include "autorefreshdialog.h"

#include "core/fixeddialog.h"
#include "autorefresh.h"
#include "core/strings.h"
#include "core/storedvalue.h"
#include "widgets/dialogbuttonrow.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

AutoRefreshDialog::AutoRefreshDialog(AutoRefresh *target, QWidget *parent)
    : QDialog(parent), m_target(target)
{
    setObjectName(QStringLiteral("frmAutRefresh"));
    setProperty(kTagProperty, resId(6500));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setProperty(kTagProperty, resId(6501));
    auto *row = new QHBoxLayout(frame);
    auto *label = new QLabel(resId(6502), frame);
    row->addWidget(label);
    m_intervalEdit = new QLineEdit(frame);
    m_intervalEdit->setObjectName(QStringLiteral("txtInterval"));
    m_intervalEdit->setMaxLength(5);
    label->setBuddy(m_intervalEdit);
    row->addWidget(m_intervalEdit);

    m_intervalScroll = new QScrollBar(Qt::Vertical, frame);
    m_intervalScroll->setObjectName(QStringLiteral("VScroll1"));
    m_intervalScroll->setRange(0, kMaxInterval);
    m_intervalScroll->setSingleStep(1);
    m_intervalScroll->setPageStep(10);
    // Large values at the top; the arrows and the track step the way they point.
    m_intervalScroll->setInvertedAppearance(true);
    m_intervalScroll->setInvertedControls(false);
    connect(m_intervalScroll, &QAbstractSlider::actionTriggered, this, [this](int action) {
        const int v = m_intervalScroll->value();
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            m_intervalScroll->setSliderPosition(v - m_intervalScroll->singleStep());
            break;
        case QAbstractSlider::SliderSingleStepSub:
            m_intervalScroll->setSliderPosition(v + m_intervalScroll->singleStep());
            break;
        case QAbstractSlider::SliderPageStepAdd:
            m_intervalScroll->setSliderPosition(v - m_intervalScroll->pageStep());
            break;
        case QAbstractSlider::SliderPageStepSub:
            m_intervalScroll->setSliderPosition(v + m_intervalScroll->pageStep());
            break;
        default:
            break;
        }
    });
    m_intervalScroll->setFixedHeight(m_intervalEdit->sizeHint().height());
    row->addWidget(m_intervalScroll);
    row->addWidget(new QLabel(resId(6503), frame));
    layout->addWidget(frame);

    const DialogButtonRow buttons(this, {"cmdOK", 111}, {"cmdCancel", 112});
    m_okButton = buttons.accept;
    m_cancelButton = buttons.reject;
    layout->addLayout(buttons.row);

    loadResStrings(this);

    int start = 100;
    if (m_target && m_target->interval() > 0 && m_target->isEnabled())
        start = m_target->interval();
    m_intervalScroll->setValue(qMin(start, kMaxInterval));
    m_intervalEdit->setText(QString::number(start));
    m_intervalEdit->selectAll();

    connect(m_intervalEdit, &QLineEdit::textChanged, this, &AutoRefreshDialog::onIntervalEdited);
    connect(m_intervalScroll, &QScrollBar::valueChanged, this, &AutoRefreshDialog::onIntervalScrolled);
    connect(m_okButton, &QPushButton::clicked, this, &AutoRefreshDialog::onOkClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &AutoRefreshDialog::onCancelClicked);
    makeFixedDialog(this);
}

void AutoRefreshDialog::ask(AutoRefresh *target, QWidget *parent)
{
    AutoRefreshDialog dialog(target, parent);
    dialog.exec();
}

void AutoRefreshDialog::onIntervalEdited()
{
    const std::optional<qint16> n = StoredValue::toInteger(m_intervalEdit->text());
    if (!n || *n < 0) {
        QApplication::beep();
        m_intervalEdit->setText(QString::number(m_intervalScroll->value()));
        return;
    }
    m_intervalScroll->setValue(*n);
}

void AutoRefreshDialog::onIntervalScrolled()
{
    const QString text = QString::number(m_intervalScroll->value());
    if (m_intervalEdit->text() != text)
        m_intervalEdit->setText(text);
}

void AutoRefreshDialog::onOkClicked()
{
    const int n = StoredValue::toInteger(m_intervalEdit->text()).value_or(0);
    if (m_target)
        m_target->apply(n);
    accept();
}

void AutoRefreshDialog::onCancelClicked()
{
    reject();
}
