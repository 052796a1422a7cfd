#include "editor/nc_document.h"
#include "text_document_conformance.h"

namespace zantor::editor::conformance {
namespace {

struct NcDocumentFactory {
    NcDocument doc;
    TextDocument& document() { return doc; }
};

INSTANTIATE_TYPED_TEST_SUITE_P(NcDocument, TextDocumentConformance,
                               ::testing::Types<NcDocumentFactory>);

}  // namespace
}  // namespace zantor::editor::conformance
