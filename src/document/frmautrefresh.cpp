#include "frmautrefresh.h"

#include "autorefresh.h"
#include "core/maincode.h"
#include "core/strings.h"
#include "core/vbconvert.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

frmAutRefresh::frmAutRefresh(AutoRefresh *target, QWidget *parent)
    : QDialog(parent), m_target(target)
{
    setObjectName(QStringLiteral("frmAutRefresh"));
    setProperty(kTagProperty, ResId(6500));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setProperty(kTagProperty, ResId(6501));
    auto *row = new QHBoxLayout(frame);
    auto *label = new QLabel(ResId(6502), frame);
    row->addWidget(label);
    txtInterval = new QLineEdit(frame);
    txtInterval->setObjectName(QStringLiteral("txtInterval"));
    txtInterval->setMaxLength(5);
    label->setBuddy(txtInterval);
    row->addWidget(txtInterval);

    VScroll1 = new QScrollBar(Qt::Vertical, frame);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setRange(0, kMaxInterval);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(10);
    // Large values at the top; the arrows and the track step the way they point.
    VScroll1->setInvertedAppearance(true);
    VScroll1->setInvertedControls(false);
    connect(VScroll1, &QAbstractSlider::actionTriggered, this, [this](int action) {
        const int v = VScroll1->value();
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            VScroll1->setSliderPosition(v - VScroll1->singleStep());
            break;
        case QAbstractSlider::SliderSingleStepSub:
            VScroll1->setSliderPosition(v + VScroll1->singleStep());
            break;
        case QAbstractSlider::SliderPageStepAdd:
            VScroll1->setSliderPosition(v - VScroll1->pageStep());
            break;
        case QAbstractSlider::SliderPageStepSub:
            VScroll1->setSliderPosition(v + VScroll1->pageStep());
            break;
        default:
            break;
        }
    });
    VScroll1->setFixedHeight(txtInterval->sizeHint().height());
    row->addWidget(VScroll1);
    row->addWidget(new QLabel(ResId(6503), frame));
    layout->addWidget(frame);

    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setProperty(kTagProperty, ResId(111));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setProperty(kTagProperty, ResId(112));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    LoadResStrings(this);
    MainCode::ModalDialogClosed = false;

    int start = 100;
    if (m_target && m_target->Interval() > 0 && m_target->Enabled())
        start = m_target->Interval();
    VScroll1->setValue(qMin(start, kMaxInterval));
    txtInterval->setText(QString::number(start));
    txtInterval->selectAll();

    connect(txtInterval, &QLineEdit::textChanged, this, &frmAutRefresh::txtInterval_Change);
    connect(VScroll1, &QScrollBar::valueChanged, this, &frmAutRefresh::VScroll1_Change);
    connect(cmdOK, &QPushButton::clicked, this, &frmAutRefresh::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAutRefresh::cmdCancel_Click);
}

frmAutRefresh::~frmAutRefresh()
{
    Form_Unload();
}

void frmAutRefresh::Ask(AutoRefresh *target, QWidget *parent)
{
    frmAutRefresh dialog(target, parent);
    dialog.exec();
}

void frmAutRefresh::txtInterval_Change()
{
    const std::optional<qint16> n = VbConvert::toInteger(txtInterval->text());
    if (!n || *n < 0) {
        QApplication::beep();
        txtInterval->setText(QString::number(VScroll1->value()));
        return;
    }
    VScroll1->setValue(*n);
}

void frmAutRefresh::VScroll1_Change()
{
    const QString text = QString::number(VScroll1->value());
    if (txtInterval->text() != text)
        txtInterval->setText(text);
}

void frmAutRefresh::cmdOK_Click()
{
    const int n = VbConvert::toInteger(txtInterval->text()).value_or(0);
    if (m_target)
        m_target->Apply(n);
    accept();
}

void frmAutRefresh::cmdCancel_Click()
{
    reject();
}

void frmAutRefresh::done(int result)
{
    QDialog::done(result);
    Form_Unload();
}

void frmAutRefresh::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    MainCode::ModalDialogClosed = true;
}
