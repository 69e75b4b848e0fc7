#include "ui/child_registry.h"

#include "ui/site_dialog.h"
#include "ui/type_dialog.h"

namespace zorva {

void RegisterStandardChildren(ChildRegistry& registry) {
    registry.add(ChildKind::SiteDialog, [](ChildHost& host, const OpenRequest&) { return new SiteDialog(host); });
    registry.add(ChildKind::TypeDialog, [](ChildHost& host, const OpenRequest&) { return new TypeDialog(host); });
}

}  // namespace zorva
