// The splash window shown while the program loads its data.
#pragma once

#include <QWidget>

namespace tablix {

class Splash : public QWidget {
public:
    explicit Splash(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tablix
