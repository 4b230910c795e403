#include <utility>

#include "layout/vaq_layout_mgr.h"

using PaneBase = VaqLayoutMgr::PaneBase;

VaqLayoutMgr::CPaneBase::CPaneBase(PaneBase* node) : record_(new record{node, {1}}) {}

VaqLayoutMgr::CPaneBase::CPaneBase(const CPaneBase& other) : record_(other.record_) {
    if (record_ != nullptr) {
        record_->count.fetch_add(1);
    }
}

VaqLayoutMgr::CPaneBase::CPaneBase(CPaneBase&& other) noexcept : record_(other.record_) {
    other.record_ = nullptr;
}

VaqLayoutMgr::CPaneBase& VaqLayoutMgr::CPaneBase::operator=(CPaneBase other) noexcept {
    std::swap(record_, other.record_);
    return *this;
}

VaqLayoutMgr::CPaneBase::~CPaneBase() {
    reset();
}

void VaqLayoutMgr::CPaneBase::reset() {
    record* r = record_;
    record_ = nullptr;
    if (r != nullptr && r->count.fetch_sub(1) - 1 <= 0) {
        delete r->node;
        delete r;
    }
}

PaneBase* VaqLayoutMgr::CPaneBase::get() const {
    return record_ != nullptr ? record_->node : nullptr;
}

VaqLayoutMgr::Pane* VaqLayoutMgr::CPaneBase::pane() const {
    return dynamic_cast<Pane*>(get());
}
