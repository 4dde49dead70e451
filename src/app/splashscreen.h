#pragma once

#include <QPixmap>
#include <QWidget>

// The splash that covers the frame's load.
class SplashScreen : public QWidget
{
    Q_OBJECT
public:
    explicit SplashScreen(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_skinPicture;
};
