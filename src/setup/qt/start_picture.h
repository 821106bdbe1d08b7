#pragma once
// The picture Setup shows for about a second before its window.

#include <QWidget>
#include <functional>

namespace kelvane {

class start_picture : public QWidget {
    Q_OBJECT
public:
    explicit start_picture(QWidget* parent = nullptr);
    // Shows the picture, closes it after the given time and then calls done.
    void show_for(int milliseconds, std::function<void()> done);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPixmap picture_;
};

}  // namespace kelvane
