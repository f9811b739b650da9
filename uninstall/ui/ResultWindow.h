#pragma once
// What the uninstaller tells at the end: that the product is gone, or the list of what stays
// and why.

#include <QDialog>
#include <string_view>

#include "uninstall/Uninstaller.h"

class QListWidget;

namespace uninstall {

struct Texts;

class ResultWindow : public QDialog {
    Q_OBJECT
public:
    ResultWindow(const Texts& texts, std::string_view product, const Outcome& outcome,
                 QWidget* parent = nullptr);
};

}  // namespace uninstall
