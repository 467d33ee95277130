#include "platform/fake/fake_calls.h"

#include "platform/fake/windows_1252.h"

namespace tolva::platform {

Status FakeCallLog::Record(std::string_view operation, std::string_view subject) {
    calls_.push_back(FakeCall{std::string(operation), std::string(subject)});
    for (auto failure = failures_.begin(); failure != failures_.end(); ++failure) {
        if (failure->operation == operation &&
            (failure->subject.empty() || SameName(failure->subject, subject))) {
            uint32_t code = failure->code;
            failures_.erase(failure);
            return Status::Failure(code, std::string(operation) + " " + std::string(subject));
        }
    }
    return Status::Ok();
}

void FakeCallLog::FailNext(std::string_view operation, uint32_t code, std::string_view subject) {
    failures_.push_back(Failure{std::string(operation), std::string(subject), code});
}

std::vector<std::string> FakeCallLog::SubjectsOf(std::string_view operation) const {
    std::vector<std::string> subjects;
    for (const FakeCall& call : calls_) {
        if (call.operation == operation) {
            subjects.push_back(call.subject);
        }
    }
    return subjects;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperCase1252(a[i]) != UpperCase1252(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace tolva::platform
