#pragma once

#include <QDialog>

class QTimer;

// The start-up window: 440 x 300, no frame. It stays 3500 ms, or closes
// after 50 ms when the splash is switched off in the settings.
class TSplash : public QDialog {
    Q_OBJECT
public:
    explicit TSplash(QWidget* parent = nullptr);

    QTimer* tmrWait = nullptr;
    QTimer* tmrDoClose = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
