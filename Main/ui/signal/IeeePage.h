#pragma once

#include <QWidget>

namespace ui {

class TPageFields;

// The contents of page_IEEE_1459: the quantities of IEEE Std 1459 per phase
// and for the four-wire and three-wire views, read only.
class TIeeePage : public QWidget {
    Q_OBJECT
public:
    explicit TIeeePage(TPageFields& fields);
};

}  // namespace ui
