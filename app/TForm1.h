#pragma once

#include <QWidget>

namespace tesmera {

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
};

}  // namespace tesmera
