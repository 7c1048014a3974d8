// SPDX-License-Identifier: MIT
#pragma once
// Windows that exist from the program's start, with their names, but may build their controls when
// they are first needed rather than when they are created: start-up then only pays for the window
// the user sees. A window built later is the same window, control for control, as one built at once.

enum class ContentsTiming {
    Now,       // the controls are built by the constructor
    WhenNeeded // the controls are built when the window is first shown or buildContents() is called
};

class DeferredContents {
  public:
    DeferredContents() = default;
    DeferredContents(const DeferredContents&) = delete;
    DeferredContents& operator=(const DeferredContents&) = delete;

    // Builds the controls unless they are built already. Building them changes nothing that the
    // window's readers can tell, so readers of a window call it too.
    void buildContents() const {
        if (built_)
            return;
        built_ = true;
        const_cast<DeferredContents*>(this)->build();
    }
    bool contentsBuilt() const { return built_; }

  protected:
    virtual ~DeferredContents() = default;
    // Called once, at the end of the window's constructor or later.
    virtual void build() = 0;
    // For the end of the window's constructor.
    void buildContentsIfNow(ContentsTiming timing) {
        if (timing == ContentsTiming::Now)
            buildContents();
    }

  private:
    mutable bool built_ = false;
};

// A window class (QDialog, QWidget) whose controls are built at the latest when it is shown.
template <typename Window> class DeferredWindow : public Window, public DeferredContents {
  public:
    using Window::Window;
    void setVisible(bool visible) override {
        if (visible)
            buildContents();
        Window::setVisible(visible);
    }
};
