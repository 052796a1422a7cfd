#include "editor/ui/tmdi_child.h"
#include "test_editor_host.h"
#include "text_document_conformance.h"

namespace zantor::editor::conformance {
namespace {

struct EditorWindowFactory {
    testing::TestEditorHost host;
    TMDIChild window{host, "NONAME1"};
    TextDocument& document() { return window; }
};

INSTANTIATE_TYPED_TEST_SUITE_P(EditorWindow, TextDocumentConformance,
                               ::testing::Types<EditorWindowFactory>);

}  // namespace
}  // namespace zantor::editor::conformance
