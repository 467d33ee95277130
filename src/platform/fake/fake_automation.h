#pragma once
// Automation objects defined by the test: classes by ProgID with the argument lists each method
// accepts, libraries whose registration makes classes creatable, scripted failures. Every creation
// and call is recorded with its arguments exactly as given, including the ones that failed. Names
// of classes and methods match without regard to case, as COM's do.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation.h"

namespace tolva::platform {

class FakeAutomation : public Automation {
public:
    // Argument lists are written one letter per argument, by how it travels: 's' a BSTR (text or
    // wide text), 'r' a BSTR by reference, 'i' a 32-bit integer, 'b' a boolean.
    struct Method {
        std::string name;
        std::vector<std::string> signatures;
    };
    struct Class {
        std::string progId;
        std::vector<Method> methods;
    };
    struct Record {
        enum class Kind { kCreate, kCall };
        Kind kind = Kind::kCreate;
        std::string progId;
        int instance = 0;  // counted per class from 1; 0 when creation failed
        std::string method;
        std::vector<AutomationArg> arguments;
        uint32_t result = 0;  // the HRESULT; 0 when it succeeded
    };

    // A registered class.
    void DefineClass(Class definition);
    // A library that RegisterServer registers (or unregisters) with these classes.
    void DefineLibrary(std::string path, std::vector<Class> classes);
    // That method of every instance of the class fails with E_FAIL from now on, with the server's
    // description of the error when one is given.
    void FailCall(std::string_view progId, std::string_view method, std::string description = {});

    Status Create(std::string_view progId, std::unique_ptr<AutomationObject>& object) override;
    Status RegisterServer(std::string_view libraryPath, bool unregister) override;

    const std::vector<Record>& Records() const { return records_; }
    void ClearRecords() { records_.clear(); }
    // The objects created and not yet released.
    size_t LiveObjects() const { return live_; }

private:
    class Object;
    struct Library {
        std::string path;
        std::vector<Class> classes;
    };
    struct Failure {
        std::string progId;
        std::string method;
        std::string description;
    };

    const Class* FindClass(std::string_view progId) const;
    uint32_t Check(const Class& definition, std::string_view method,
                   const std::vector<AutomationArg>& arguments) const;

    std::vector<Class> classes_;
    std::vector<Library> libraries_;
    std::vector<Failure> failures_;
    std::vector<Record> records_;
    std::vector<std::pair<std::string, int>> instances_;
    size_t live_ = 0;
};

// The letter of an argument in a FakeAutomation signature.
char AutomationWireLetter(AutomationArgKind kind);

}  // namespace tolva::platform
