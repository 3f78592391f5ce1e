#pragma once

// Answers to the site book's questions, given in advance; records what was asked and shown.

#include <deque>
#include <string>
#include <vector>

#include "config/SiteBook.h"

namespace testsupport {

// Answers one input box from the answers given in advance, recording the question.
inline bool answerInputQuery(std::deque<std::string>& answers, std::vector<std::string>& asked,
                             const std::string& caption, const std::string& prompt, std::string& value)
{
    asked.push_back(caption + "|" + prompt + "|" + value);
    if (answers.empty() || answers.front() == "<cancel>") {
        if (!answers.empty())
            answers.pop_front();
        return false;
    }
    value = answers.front();
    answers.pop_front();
    return true;
}

class ScriptedPrompt : public ISiteBookPrompt
{
public:
    // The next answers, in order; an answer of nullopt-like "<cancel>" cancels the box.
    std::deque<std::string> answers;
    std::vector<std::string> asked; // caption + "|" + prompt + "|" + initial text
    std::vector<std::string> messages;

    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override
    {
        return answerInputQuery(answers, asked, caption, prompt, value);
    }

    void ShowMessage(const std::string& text) override { messages.push_back(text); }
};

} // namespace testsupport
