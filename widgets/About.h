// The about box: logo, version, picture and the maker's lines; closes with OK.
#pragma once

#include <QDialog>

namespace zirpel {

class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget* parent = nullptr);
};

} // namespace zirpel
