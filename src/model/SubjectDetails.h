#pragma once

#include <QString>

// What the thread's issue or pull request says of itself, read from its own
// address: the state and who acted on it.
enum class SubjectState {
    open,
    closed, // issues: completed; pull requests: closed unmerged
    closedNotPlanned, // issues only
    merged,
    draft,
};

struct Actor {
    QString login;
    // A GitHub App or other automation ("[bot]" logins, user type "Bot").
    bool isBot = false;

    friend bool operator==(const Actor &, const Actor &) = default;
};

struct SubjectDetails {
    SubjectState state = SubjectState::open;
    Actor author;
    // The latest comment's author, or the author when there is no comment.
    Actor latestActor;

    friend bool operator==(const SubjectDetails &, const SubjectDetails &) = default;
};
