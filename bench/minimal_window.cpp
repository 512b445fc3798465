// The reference for the start-up benchmark: a Qt Widgets program that shows
// one window and reports when it is first painted.

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QWidget>

#include <cstdio>

namespace {

class Window final : public QWidget {
protected:
    void paintEvent(QPaintEvent* event) override
    {
        QWidget::paintEvent(event);
        if (!m_reported) {
            m_reported = true;
            std::printf("shown\n");
            std::fflush(stdout);
        }
    }

private:
    bool m_reported = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Window window;
    window.resize(772, 570);
    window.setWindowTitle(QStringLiteral("Reference"));
    window.show();
    return app.exec();
}
