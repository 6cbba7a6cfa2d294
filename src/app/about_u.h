#pragma once
// The "درباره" window of the main menu: the program's name, version and what
// it is for.
#include <QDialog>

namespace tavrin {

class Tabout : public QDialog {
    Q_OBJECT
public:
    explicit Tabout(QWidget* parent = nullptr);
};

}   // namespace tavrin
