#pragma once
// Form14: adds one engineer to the engineer list (mix.dat) and closes.

#include <QWidget>

#include "fee/app/AppContext.h"

class QComboBox;
class QLineEdit;

namespace fee::app {

class NewEngineerDialog : public QWidget {
    Q_OBJECT
public:
    explicit NewEngineerDialog(AppContext& ctx, QWidget* parent = nullptr);

private:
    void onOk();

    AppContext& ctx_;
    QLineEdit* first_ = nullptr;
    QLineEdit* last_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* city_ = nullptr;
    QComboBox* specialty_ = nullptr;
};

}  // namespace fee::app
