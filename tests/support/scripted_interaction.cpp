#include "scripted_interaction.h"

namespace zantor::testing {

namespace {
template <typename T>
T take(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}
}  // namespace

Answer ScriptedInteraction::message(MessageKind kind, const std::string& text, Buttons buttons) {
    messages.push_back({kind, text, buttons});
    return take(answers, buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel);
}

std::optional<std::string> ScriptedInteraction::inputText(const std::string&,
                                                          const std::string& prompt,
                                                          const std::string&) {
    prompts.push_back(prompt);
    return take(inputs, std::optional<std::string>());
}

std::vector<std::string> ScriptedInteraction::openFiles(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    return take(openedFiles, std::vector<std::string>());
}

std::optional<std::string> ScriptedInteraction::saveFile(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    return take(savedFiles, std::optional<std::string>());
}

std::optional<std::string> ScriptedInteraction::browseFolder(const std::string&,
                                                             const std::string&) {
    return take(folders, std::optional<std::string>());
}

std::vector<std::string> ScriptedInteraction::texts() const {
    std::vector<std::string> out;
    for (const Shown& m : messages) out.push_back(m.text);
    return out;
}

}  // namespace zantor::testing
