#include "ui/child_registry.h"

#include "ui/drawing_window.h"
#include "ui/embedded_children.h"
#include "ui/site_dialog.h"
#include "ui/tables_window.h"
#include "ui/type_dialog.h"

namespace zorva {

void RegisterStandardChildren(ChildRegistry& registry) {
    registry.add(ChildKind::SiteDialog, [](ChildHost& host, const OpenRequest&) { return new SiteDialog(host); });
    registry.add(ChildKind::TypeDialog, [](ChildHost& host, const OpenRequest&) { return new TypeDialog(host); });
    registry.add(ChildKind::ParameterDialog,
                 [](ChildHost& host, const OpenRequest&) { return new ParameterChild(host); });
    registry.add(ChildKind::CalculationWindow,
                 [](ChildHost& host, const OpenRequest& request) { return new SunPositionChild(host, request); });
    registry.add(ChildKind::DrawingWindow, [](ChildHost& host, const OpenRequest&) { return new DrawingWindow(host); });
    registry.add(ChildKind::TableWindow,
                 [](ChildHost& host, const OpenRequest& request) { return new TablesWindow(host, request); });
}

}  // namespace zorva
