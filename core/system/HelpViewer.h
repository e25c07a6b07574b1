// Shows the program's help file, at its contents or at a numbered topic.
#pragma once

namespace zirpel {

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void showContents() = 0;
    virtual void showContext(int context) = 0;
};

} // namespace zirpel
