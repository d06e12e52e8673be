#pragma once

// The steps of the monkey walk, chosen at random from a seed: what a pupil
// who tries every key and command does to the main window, each step applied
// to the expected window as it is taken.

#include "tests/ui/monkey/keys.h"
#include "tests/ui/monkey/model.h"
#include "tests/ui/monkey/walk.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

class QWidget;

namespace parvolin::monkey {

class Steps {
public:
    Steps(Walk &walk, std::uint64_t seed) : walk_(walk), random_(seed) {}

    // Takes one step and says what it was.
    std::string take_one();

private:
    // Random choices.
    int pick(int count);
    bool chance(double p);
    template <typename T>
    const T &one_of(const std::vector<T> &items)
    {
        return items[static_cast<std::size_t>(pick(static_cast<int>(items.size())))];
    }
    QString digits(int count);
    QString pasted_text();
    Key field_key();

    bool computation_view() const { return walk_.expected.view != View::Welcome; }

    // A command applied to the expectation, with the seams it will ask
    // prepared.
    void expect(Command command);
    void prepare_save();
    void prepare_print();

    void click_field(int index);
    void deliver_expecting(QWidget *target, const Key &key, std::optional<Command> command);

    // The steps.
    void type_into_field();
    void put_text_into_field();
    void click_into_field();
    void list_key();
    void list_click();
    void enter_in_list();
    void solve_button();
    void new_task_button();
    void button_mnemonic();
    void menu_item();
    void menu_shortcut();
    void toolbar_button();
    void close_side_panel();
    void separator_choice();
    void regional_separator();
    void resize_window();
    void web_link();
    void about_window();

    Walk &walk_;
    std::mt19937_64 random_;
    std::string step_; // this step's description
};

} // namespace parvolin::monkey
