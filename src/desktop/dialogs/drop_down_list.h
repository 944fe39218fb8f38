// A drop-down list that tells when its list is dropped down, before the user
// picks an entry.
#pragma once

#include <QComboBox>

namespace wandrix {

class DropDownList : public QComboBox {
  Q_OBJECT
 public:
  using QComboBox::QComboBox;

  void showPopup() override {
    emit droppedDown();
    QComboBox::showPopup();
  }

 signals:
  void droppedDown();
};

}  // namespace wandrix
