#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Makes chosen calls of the file-system seam under the hosts rewrite fail, and counts every call.
// The platform half (injected_faults_<platform>.cpp) puts wrappers into the seam's table while
// an object of this class lives.

// Calls that fail together when a lasting fault hits one of them: a file system that refuses
// one rename, say, goes on refusing renames.
enum class call_group { open, read, write, length, flush, status, rename, remove, close };

enum class fault_kind {
    once,     // the call alone fails
    lasting,  // the call and every later call of its group fail
};

struct planned_fault {
    std::size_t call;  // position in the run's calls, from 1
    fault_kind kind;
};

class Cinjected_faults {
  public:
    explicit Cinjected_faults(std::vector<planned_fault> plan);
    ~Cinjected_faults();
    Cinjected_faults(const Cinjected_faults&) = delete;
    Cinjected_faults& operator=(const Cinjected_faults&) = delete;

    // Counts a call of the seam and tells whether it is to fail.
    bool fails(const char* name, call_group group);

    std::size_t calls() const { return names_.size(); }
    // The groups of the calls made, in order.
    const std::vector<call_group>& groups() const { return groups_; }
    bool failed_a_removal() const { return failed_a_removal_; }
    // The plan and the calls it hit, for a failure message.
    std::string description() const;

  private:
    std::vector<planned_fault> plan_;
    std::vector<std::string> names_;
    std::vector<call_group> groups_;
    std::vector<call_group> lasting_;
    bool failed_a_removal_ = false;
};

// The one object whose plan the wrappers follow; none outside a test case.
Cinjected_faults* active_faults();

// The platform half: puts the wrappers into the seam's table, and the real calls back.
void install_fault_wrappers();
void remove_fault_wrappers();
