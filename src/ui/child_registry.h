#pragma once
// How the main window creates its child windows. Each window registers a factory for its
// kind; a kind without a factory has its menu entries disabled and is skipped by the wizard.

#include "ui/child_window.h"

#include <functional>
#include <map>

namespace zorva {

using ChildFactory = std::function<ChildWindow*(ChildHost& host, const OpenRequest& request)>;

class ChildRegistry {
public:
    void add(ChildKind kind, ChildFactory factory) { factories_[kind] = std::move(factory); }
    bool has(ChildKind kind) const { return factories_.count(kind) != 0; }
    ChildWindow* create(ChildKind kind, ChildHost& host, const OpenRequest& request) const {
        auto it = factories_.find(kind);
        return it == factories_.end() ? nullptr : it->second(host, request);
    }

private:
    std::map<ChildKind, ChildFactory> factories_;
};

// Every child window the program has; each window adds its line here.
void RegisterStandardChildren(ChildRegistry& registry);

}  // namespace zorva
