#pragma once
#include <QWidget>

namespace tavrin {

// The borderless window shown for a second while the program starts.
class Tsplash_frm : public QWidget {
    Q_OBJECT
public:
    Tsplash_frm();
};

} // namespace tavrin
