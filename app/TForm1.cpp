#include "app/TForm1.h"

namespace tesmera {

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setWindowTitle(" Tesmera - demo");
    setFixedSize(590, 423);
}

}  // namespace tesmera
