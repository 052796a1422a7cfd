#pragma once

#include <string>

namespace zantor {

class Interaction;

// A numeric entry field left by the user: its text ("0.0" when empty) is
// evaluated in capitals. On success the text becomes the value with five
// decimals and the value is returned; on error the "Error in Expression"
// box shows the message and the expression marked with " >>" where the
// error was seen, the text stays as typed and 0 is returned.
struct FieldValue {
    bool ok = true;
    double value = 0;
};
FieldValue EvaluateField(std::string& text, Interaction& interaction);

// The box's text for an error at 1-based `position` of `expression`.
std::string expressionErrorText(const std::string& expression, int code, int position);
// The expression with " >>" before the character at `position`.
std::string markedExpression(const std::string& expression, int position);

}  // namespace zantor
