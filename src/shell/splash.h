// The splash window shown while the program loads its data.
#pragma once

#include <QWidget>

namespace tablix {

class TSplash : public QWidget {
public:
    explicit TSplash(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tablix
