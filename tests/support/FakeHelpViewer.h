// A help viewer that records what it was asked to show: 0 stands for the contents.
#pragma once

#include "core/system/HelpViewer.h"

#include <QList>

class FakeHelpViewer : public zirpel::HelpViewer {
public:
    void showContents() override { requests.append(0); }
    void showContext(int context) override { requests.append(context); }
    QList<int> requests;
};
