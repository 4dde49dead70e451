#pragma once

#include <QPixmap>
#include <QWidget>

// The splash that covers the frame's load.
class frmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);
    ~frmSplash() override;

    // The skin picture tiled behind the texts; null when no skin loaded.
    const QPixmap &SkinPicture() const { return m_skinPicture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_skinPicture;
};
