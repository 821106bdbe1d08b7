#pragma once
// The program context: every object that lives for the whole run, each once,
// owned by the application and handed to the screens by reference. Nothing
// of it is global, so a test builds its own program and throws it away.

#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "core/accounts/account_figures.h"
#include "core/accounts/data_set.h"
#include "core/tools/key_table.h"
#include "core/trips/trip_figures.h"
#include "gui/shell/main_page.h"
#include "gui/widgets/owner_messages.h"
#include "gui/widgets/skin.h"

namespace kelvane {

class main_screen;
struct program;

// Marks that a store kind was loaded, reset, written or changed since the
// trips page last built its list; it builds the list again when any is
// raised, and lowers them all once it has.
struct change_marks {
    bool fuel = false;
    bool service = false;
    bool fees = false;
    bool trips = false;

    bool any() const { return fuel || service || fees || trips; }
    void lower() { fuel = service = fees = trips = false; }
};

// Builds the screen of one page of the main screen.
using page_maker = std::function<std::unique_ptr<main_page>(program&, QWidget* parent)>;
// Carries out a tool command of the main menu.
using command_handler = std::function<void(main_screen&)>;

struct program {
    program();
    ~program();
    program(const program&) = delete;
    program& operator=(const program&) = delete;

    // The problems core meets while the program runs, shown in message boxes;
    // in force before the data is read and until it is written back.
    problem_boxes problems;
    scoped_problem_listener listening{problems};
    // The data folder: configuration, language table and the four stores,
    // read and written as kelvane-tool does; the screens reach its parts
    // by the names below.
    data_set data;
    fuel_store& fuel = data.fuel;
    service_store& service = data.service;
    fee_store& fees = data.fees;
    trip_store& trips = data.trips;
    language_table& language = data.language;
    configuration& config = data.config;
    class skin skin;
    key_table keys;
    change_marks changes;
    // The vehicles' summaries the trip figures were last built from, kept
    // while the vehicles' files stay as they were.
    trip_summaries trip_cache;
    // How near a service must be to show as due; the desktop's settings
    // keep it (the handheld's files have no place for it).
    service_margins margins;
    // The figures of the accounts not open (services due, costs), kept while
    // their files stay as they were.
    kept_account_figures account_cache;

    // The screens of the six pages.
    std::array<page_maker, page_count> pages;
    // The tool commands by command id.
    std::map<int, command_handler> commands;

    // The numbered loading steps the splash screen runs, in order (skin,
    // configuration, language, automatic backup, trip and account stores).
    std::vector<std::function<void()>> loading_steps();
    // At the end of the run: the configuration, then the fuel, service and
    // fee stores, each writing what it still holds back.
    void save_at_end() { data.save_at_end(); }
};

}  // namespace kelvane
