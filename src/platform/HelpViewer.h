#pragma once
// The help of the program, opened at its default topic (F1, Help > Contents).

namespace qrb {

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void showContents() = 0;
};

} // namespace qrb
