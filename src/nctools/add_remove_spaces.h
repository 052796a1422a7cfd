#pragma once

#include <string>
#include <string_view>

#include "editor/text_document.h"
#include "nctools/line_walk.h"
#include "nctools/nc_words.h"

namespace zantor {

enum class SpacesChange { Remove, Add };

// A space before every capital letter but the line's first, even where one
// is there already; comments pass unchanged.
std::string addSpaces(std::string_view line, const CommentMarks& marks);
// Every space outside comments taken out, leading ones too.
std::string removeSpaces(std::string_view line, const CommentMarks& marks);

// "Adding Spaces ..." or "Removing Spaces ...".
std::string spacesCaption(SpacesChange change);

// Over the selected lines or the whole program; false when cancelled.
bool AddRemoveSpaces(editor::TextDocument& document, LineWalkProgress& progress,
                     SpacesChange change, const CommentMarks& marks);

}  // namespace zantor
