#include "hosts/injected_faults.h"

#include <algorithm>

namespace {
Cinjected_faults* active = nullptr;
}

Cinjected_faults::Cinjected_faults(std::vector<planned_fault> plan) : plan_(std::move(plan)) {
    active = this;
    install_fault_wrappers();
}

Cinjected_faults::~Cinjected_faults() {
    remove_fault_wrappers();
    active = nullptr;
}

Cinjected_faults* active_faults() {
    return active;
}

bool Cinjected_faults::fails(const char* name, call_group group) {
    names_.emplace_back(name);
    groups_.push_back(group);
    bool failing = std::find(lasting_.begin(), lasting_.end(), group) != lasting_.end();
    for (const planned_fault& fault : plan_) {
        if (fault.call == names_.size()) {
            failing = true;
            if (fault.kind == fault_kind::lasting) {
                lasting_.push_back(group);
            }
        }
    }
    failed_a_removal_ = failed_a_removal_ || (failing && group == call_group::remove);
    return failing;
}

std::string Cinjected_faults::description() const {
    std::string text = "faults:";
    for (const planned_fault& fault : plan_) {
        text += " call " + std::to_string(fault.call);
        if (fault.call <= names_.size()) {
            text += " (" + names_[fault.call - 1] + ")";
        }
        text += fault.kind == fault_kind::lasting ? " and later ones of its kind;" : " once;";
    }
    text += " calls made:";
    for (const std::string& name : names_) {
        text += " " + name;
    }
    return text;
}
