#pragma once
#include <atomic>
#include <cstdint>
#include <vector>

#include "layout/layout_rect.h"
#include "layout/layout_window.h"

// Outer window sizes at which the root pane, with its border, fits the layout area.
// A maximum of -1 is unbounded.
struct frame_limits {
    std::int32_t min_width = 0;
    std::int32_t min_height = 0;
    std::int32_t max_width = -1;
    std::int32_t max_height = -1;
};

// Arranges the child controls of one window in a tree of rows and columns (panes), shares
// the window's space among them and tells how small and large the window may become.
class VaqLayoutMgr {
  public:
    // Mode word of a node.
    static constexpr std::uint32_t FLEXIBLE = 0;
    static constexpr std::uint32_t FIXED_WIDTH = 1;
    static constexpr std::uint32_t FIXED_HEIGHT = 4;
    static constexpr std::uint32_t FIXED_SIZE = FIXED_WIDTH | FIXED_HEIGHT;
    // Orientation of a pane: children side by side, or stacked.
    static constexpr std::int32_t ORIENT_HORZ = 0;
    static constexpr std::int32_t ORIENT_VERT = 1;

    class PaneBase;
    class PaneItem;
    class Pane;

    // Shared handle to one node; the last handle to go destroys the node.
    class CPaneBase {
      public:
        CPaneBase() = default;
        explicit CPaneBase(PaneBase* node);
        CPaneBase(const CPaneBase& other);
        CPaneBase(CPaneBase&& other) noexcept;
        CPaneBase& operator=(CPaneBase other) noexcept;
        ~CPaneBase();

        void reset();
        PaneBase* get() const;
        // The node as a pane, or nullptr when it is an item or the handle is empty.
        Pane* pane() const;
        PaneBase* operator->() const { return get(); }
        PaneBase& operator*() const { return *get(); }
        explicit operator bool() const { return record_ != nullptr; }

      private:
        struct record {
            PaneBase* node;
            std::atomic<std::int32_t> count;
        };
        record* record_ = nullptr;
    };

    explicit VaqLayoutMgr(layout_window& window);
    VaqLayoutMgr(const VaqLayoutMgr&) = delete;
    VaqLayoutMgr& operator=(const VaqLayoutMgr&) = delete;
    virtual ~VaqLayoutMgr();

    // The rectangle the layout may use: the window's client rectangle.
    virtual layout_rect layoutArea();
    virtual void relayoutWith(CPaneBase newRoot);
    // Holds a top-level window within the tree's limits, lays the tree out in the layout
    // area less the root border, realigns up-down controls and invalidates the window.
    virtual void relayout();
    // Lays the root out in the rectangle; nothing happens for an empty rectangle or no root.
    virtual void layoutInto(const layout_rect& rect);

    // An item for the child control with the identifier; minima of -1 take the control's
    // present size.
    CPaneBase newItem(std::int32_t id, std::uint32_t mode, std::int32_t minWidth = -1,
                      std::int32_t minHeight = -1);
    CPaneBase newPane(std::int32_t orientation, std::uint32_t mode, std::int32_t gap);
    // Replaces the root with an empty vertical pane with a gap of 5.
    CPaneBase makeRoot();

    // The window sizes that fit the root (which must exist) for this layout area and window
    // rectangle.
    frame_limits frameLimits(const layout_rect& area, const layout_rect& frame) const;

    layout_window* window;  // not owned
    CPaneBase root;
    layout_size rootBorder{5, 5};

  private:
    void holdWithinLimits(const layout_rect& area);
    void realignUpDowns();
};

using CPaneBase = VaqLayoutMgr::CPaneBase;

class VaqLayoutMgr::PaneBase {
  public:
    PaneBase(std::uint32_t mode, VaqLayoutMgr* manager) : mode(mode), manager(manager) {}
    PaneBase(const PaneBase&) = delete;
    PaneBase& operator=(const PaneBase&) = delete;
    virtual ~PaneBase() = default;

    virtual std::int32_t fixedWidth(std::int32_t parentWidth) const = 0;
    virtual std::int32_t fixedHeight(std::int32_t parentHeight) const = 0;
    virtual std::int32_t minWidth() const = 0;
    virtual std::int32_t maxWidth() const = 0;  // -1 for unbounded
    virtual std::int32_t minHeight() const = 0;
    virtual std::int32_t maxHeight() const = 0;  // -1 for unbounded
    virtual bool placeIn(const layout_rect& rect) = 0;

    std::uint32_t mode;
    VaqLayoutMgr* manager;  // not owned
};

// One child control of the window.
class VaqLayoutMgr::PaneItem : public PaneBase {
  public:
    PaneItem(VaqLayoutMgr* manager, std::int32_t id, std::uint32_t mode, std::int32_t minWidth,
             std::int32_t minHeight);

    std::int32_t fixedWidth(std::int32_t parentWidth) const override;
    std::int32_t fixedHeight(std::int32_t parentHeight) const override;
    std::int32_t minWidth() const override;
    std::int32_t maxWidth() const override;
    std::int32_t minHeight() const override;
    std::int32_t maxHeight() const override;
    bool placeIn(const layout_rect& cell) override;

    std::int32_t width = 0;  // the control's size when the item was made
    std::int32_t givenMinWidth;
    std::int32_t height = 0;
    std::int32_t givenMinHeight;
    layout_control control = nullptr;
    bool isCombo = false;
};

// A row (ORIENT_HORZ) or column (ORIENT_VERT) of nodes.
class VaqLayoutMgr::Pane : public PaneBase {
  public:
    Pane(VaqLayoutMgr* manager, std::int32_t orientation, std::uint32_t mode, std::int32_t gap);

    void appendItem(CPaneBase node);
    // Adds a sub-pane with mode m; for a direction m fixes, a fixed size f of 0 captures the
    // sub-pane's present minimum. A sub-pane of this pane's own orientation is first wrapped
    // in a gapless pane of the other orientation. A node that is not a pane is appended as is.
    void appendPane(CPaneBase pane, std::uint32_t m, std::int32_t f);

    std::int32_t fixedWidth(std::int32_t parentWidth) const override;
    std::int32_t fixedHeight(std::int32_t parentHeight) const override;
    std::int32_t minWidth() const override;
    std::int32_t maxWidth() const override;
    std::int32_t minHeight() const override;
    std::int32_t maxHeight() const override;
    bool placeIn(const layout_rect& rect) override;

    std::int32_t orientation;
    std::vector<CPaneBase> items;
    std::int32_t fixedSize = 0;  // along the parent's direction, once a fixed parent set it
    std::int32_t gap;

  private:
    bool horizontal() const { return orientation == ORIENT_HORZ; }
    std::int32_t minimumAlong() const;
    std::int32_t maximumAlong() const;
    std::int32_t minimumAcross(std::uint32_t fixedBit) const;
    std::int32_t maximumAcross(std::uint32_t fixedBit) const;
};
