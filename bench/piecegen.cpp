#include "piecegen.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace piecegen {

namespace {

// A small, fast generator whose sequence is the same on every platform and
// compiler (the standard distributions are not).
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool percent(int p) { return below(100) < p; }
    template <typename T, std::size_t N>
    const T& pick(const std::array<T, N>& items)
    {
        return items[static_cast<std::size_t>(below(static_cast<int>(N)))];
    }

private:
    std::uint64_t state_;
};

struct Place {
    const char* name;    // at most 20 characters
    const char* county;  // a code of the bundled county table
};

constexpr std::array<const char*, 24> male_names{
    "Thomas", "William", "John", "George", "James", "Henry", "Charles", "Joseph", "Robert", "Edward",
    "Samuel", "Richard", "Alfred", "Walter", "Frederick", "Arthur", "Albert", "Isaac", "Josiah",
    "John Henry", "William James", "Ebenezer", "Reuben", "Amos"};
constexpr std::array<const char*, 24> female_names{
    "Mary", "Elizabeth", "Sarah", "Ann", "Jane", "Emma", "Hannah", "Ellen", "Eliza", "Martha",
    "Harriet", "Alice", "Emily", "Louisa", "Caroline", "Mary Ann", "Susannah", "Fanny", "Rose",
    "Edith", "Ada", "Clara", "Charlotte", "Keziah"};
constexpr std::array<const char*, 40> surnames{
    "Ashdown", "Pellow", "Fenwick", "Gorringe", "Quarrie", "Trevarrow", "Penhallow", "Bramble",
    "Dunstan", "Smith", "Baker", "Cooper", "Harding", "Woolcott", "Dimmock", "Lethbridge", "Tucker",
    "Rendell", "Cottle", "Marwood", "Huxtable", "Chudley", "Vowles", "Pugsley", "Loveridge",
    "Yeandle", "Bartlett", "Hockey", "O'Leary", "Clatworthy", "Ford", "Gibbs", "Hole", "Ley",
    "Mogg", "Nation", "Sully", "Venn", "Webber", "Yandle"};
constexpr std::array<const char*, 20> men_work{
    "Agricultural Labourer", "Farmer", "Miller", "Carpenter", "Blacksmith", "Mason", "Shoemaker",
    "Carter", "Shepherd", "Wheelwright", "Thatcher", "Groom", "Gardener", "Quarryman", "Sawyer",
    "Tailor", "Baker", "Innkeeper", "Farmer, 60 Acres", "Coal Miner"};
constexpr std::array<const char*, 10> women_work{
    "Laundress", "Dressmaker", "Glover", "Charwoman", "Needlewoman", "Straw Bonnet Maker",
    "Schoolmistress", "Lace Maker", "Shopkeeper", "Nurse"};
constexpr std::array<const char*, 8> youth_work{
    "Plough Boy", "Farm Servant", "Errand Boy", "Apprentice Carpenter", "Scholar", "Scholar",
    "Cow Boy", "Mill Hand"};
constexpr std::array<const char*, 16> streets{
    "Church Lane", "High Street", "Mill Lane", "The Square", "Quay Street", "Back Lane",
    "Fore Street", "Water Lane", "Chapel Row", "Mill Cottages", "Vicarage Road", "Market Place",
    "Townsend", "Higher Farm", "Lower Town, Green Lane", "Hill Cottages"};
constexpr std::array<const char*, 10> parishes{
    "Merrowby", "Thornleigh", "Little Haddow", "Crookfold", "Mossgate", "Ebbington Parva",
    "Ashcombe", "Hallowfield", "Oakhurst", "St. Mary-le-Moor"};
constexpr std::array<const char*, 6> districts{
    "St Brannoc", "Holy Trinity", "St Agnes", "Christ Church", "St John", "All Saints"};
constexpr std::array<Place, 8> english_homes{{{"Merrowby", "SOM"}, {"Cheddon", "SOM"}, {"Kingston", "SOM"},
                                              {"Thornleigh", "SOM"}, {"Tiverton", "DEV"}, {"Bristol", "GLS"},
                                              {"Crewkerne", "SOM"}, {"Wellington", "SOM"}}};
constexpr std::array<Place, 8> scottish_homes{{{"Dalkeith", "MLN"}, {"Lasswade", "MLN"}, {"Edinburgh", "MLN"},
                                               {"Glasgow", "LKS"}, {"Lanark", "LKS"}, {"Perth", "PER"},
                                               {"Stirling", "STI"}, {"Haddington", "ELN"}}};
constexpr std::array<Place, 8> far_places{{{"London", "LND"}, {"Plymouth", "DEV"}, {"Dorchester", "DOR"},
                                           {"Cardiff", "GLA"}, {"Dublin", "IRL"}, {"Manchester", "LAN"},
                                           {"Salisbury", "WIL"}, {"Penzance", "CON"}}};

// The cells of one spreadsheet row by name; the layout orders them.
struct Cells {
    std::string status, book, household, member, parish, district, ed, folio, page, schedule, house,
        address, uninhabited, surname, forenames, name_flag, relationship, condition, sex, age,
        detail_flag, occupation, employed, occupation_flag, county, birthplace, birthplace_flag,
        alt_county, alt_birthplace, disability, language, notes;
};

struct Person {
    std::string surname, forenames, relationship, condition, sex, age, occupation, employed;
    std::string county, birthplace, alt_county, alt_birthplace, disability, language, notes;
    std::string name_flag, detail_flag;
};

struct Household {
    std::vector<Person> people;
    std::string building;  // u, b, n or v for a building row; empty for people
    std::string house, address;
};

enum class Slip {
    sex_missing,
    sex_invalid,
    age_not_numeric,
    forename_digit,
    county_missing,
    query_mark,
    curly_apostrophe,
    head_not_first,
    flag_invalid,
    schedule_skip,
    address_too_long,
};
constexpr std::size_t slip_kinds = 11;

// Each slip's name and an extended regular expression for the listing line
// that reports it.
const SlipCount slip_table[slip_kinds] = {
    {"sex-missing", "sex marker missing", 0},
    {"sex-invalid", "sex = W invalid value", 0},
    {"age-not-numeric", "age = l[0-9]+ not numeric", 0},
    {"forename-digit", "forename\\(s\\) = .* contains unusual characters", 0},
    {"county-missing", "county code missing", 0},
    {"query-mark", "trailing \"\\?\" removed and flag set", 0},
    {"curly-apostrophe", "field contains an invalid character", 0},
    {"head-not-first", "Head of household is not the first entry", 0},
    {"flag-invalid", "uninhabited flag = y invalid value", 0},
    {"schedule-skip", "schedule number = [0-9]+ not sequential", 0},
    {"address-too-long", "field too long <", 0},
};

// The census the piece belongs to, as far as the rows depend on it.
struct Census {
    int year;
    bool scottish;
    bool ss_cens;
    int rlen;

    bool after_1841() const { return year > 1841; }
    bool english_1841() const { return year == 1841 && !scottish; }
    bool employed_used() const { return ss_cens && year > 1881; }
    bool language_used() const { return scottish && year > 1880; }
};

std::string csv_cell(const std::string& text)
{
    if (text.find_first_of(",\"") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

std::vector<const std::string*> column_order(const Cells& c, const Census& census)
{
    std::vector<const std::string*> cols;
    if (!census.ss_cens) {
        cols = {&c.status, &c.book, &c.household, &c.member, &c.parish, &c.ed, &c.folio, &c.page,
                &c.schedule, &c.house, &c.address, &c.uninhabited, &c.surname, &c.forenames,
                &c.name_flag, &c.relationship, &c.condition, &c.sex, &c.age, &c.detail_flag,
                &c.occupation, &c.occupation_flag, &c.county, &c.birthplace, &c.birthplace_flag,
                &c.disability, &c.language, &c.notes};
        if (census.rlen > 256)
            cols.push_back(&c.district);
        if (census.rlen > 276)
            cols.insert(cols.end(), {&c.alt_county, &c.alt_birthplace});
        return cols;
    }
    cols.push_back(&c.parish);
    if (census.rlen > 256)
        cols.push_back(&c.district);
    cols.insert(cols.end(), {&c.ed, &c.folio, &c.page, &c.schedule, &c.house, &c.address, &c.uninhabited,
                             &c.surname, &c.forenames, &c.name_flag, &c.relationship, &c.condition, &c.sex,
                             &c.age, &c.detail_flag, &c.occupation, &c.employed, &c.occupation_flag,
                             &c.county, &c.birthplace, &c.birthplace_flag});
    if (census.rlen > 276)
        cols.insert(cols.end(), {&c.alt_county, &c.alt_birthplace});
    cols.insert(cols.end(), {&c.disability, &c.language, &c.notes});
    if (census.rlen > 276 && census.english_1841())
        cols.push_back(&c.book);
    return cols;
}

void append_row(std::string& out, const Cells& cells, const Census& census)
{
    bool first = true;
    for (const std::string* cell : column_order(cells, census)) {
        if (!first)
            out += ',';
        out += csv_cell(*cell);
        first = false;
    }
    out += "\r\n";
}

std::string header_rows(const Shape& shape, const Census& census)
{
    std::vector<std::string> titles{"Civil Parish"};
    if (census.rlen > 256)
        titles.push_back("Eccl District");
    for (const char* t : {"ED", "Folio", "Page", "Schedule", "House Number", "Address", "Uninhabited Flag",
                          "Surname", "Forenames", "Name Flag", "Relationship", "Condition", "Sex", "Age",
                          "Detail Flag", "Occupation", "Employed Status", "Occupation Flag", "Chapman Code",
                          "Birth Place", "Birth Place Flag"})
        titles.push_back(t);
    if (census.rlen > 276)
        titles.insert(titles.end(), {"Alt Chapman Code", "Alt Birth Place"});
    titles.insert(titles.end(), {"Disability", "Language", "Notes"});
    if (census.rlen > 276 && census.english_1841())
        titles.push_back("Book");

    std::string out = shape.piece_label + "," + (census.english_1841() ? "1" : "") + ",\r\n";
    for (std::size_t i = 0; i < titles.size(); ++i)
        out += (i ? "," : "") + titles[i];
    out += "\r\n";
    out += "Generated piece, seed " + std::to_string(shape.seed) + ",,\r\n";
    return out;
}

// An age as a transcriber types it: infants in months, weeks or days; adults
// of 1841 rounded down to five years, as the enumerators did.
std::string age_text(int years, Rng& rng, const Census& census)
{
    if (years == 0) {
        const int roll = rng.below(10);
        if (roll < 7)
            return std::to_string(rng.between(1, 11)) + "m";
        if (roll < 9)
            return std::to_string(rng.between(1, 20)) + "w";
        return std::to_string(rng.between(1, 30)) + "d";
    }
    if (census.year == 1841 && years >= 15)
        years -= years % 5;
    return std::to_string(years);
}

Place birthplace_for(Rng& rng, const Census& census)
{
    if (rng.percent(80))
        return census.scottish ? rng.pick(scottish_homes) : rng.pick(english_homes);
    return rng.pick(far_places);
}

Person make_person(Rng& rng, const Census& census, const std::string& surname, bool male, int age,
                   const char* relationship, const char* condition)
{
    Person p;
    p.surname = surname;
    p.forenames = male ? rng.pick(male_names) : rng.pick(female_names);
    p.sex = male ? "M" : "F";
    p.age = age_text(age, rng, census);
    if (census.after_1841()) {
        p.relationship = relationship;
        p.condition = condition;
    }
    const Place born = birthplace_for(rng, census);
    p.county = born.county;
    if (census.after_1841()) {
        p.birthplace = born.name;
        if (census.rlen > 276 && rng.percent(3)) {
            const Place other = rng.pick(far_places);
            p.alt_county = other.county;
            p.alt_birthplace = other.name;
        }
        if (age > 30 && rng.percent(1))
            p.disability = rng.percent(50) ? "Blind" : "Deaf";
    }
    if (census.language_used())
        p.language = rng.percent(85) ? "-" : (rng.percent(90) ? "G" : "B");
    if (rng.percent(3))
        p.name_flag = rng.percent(50) ? "-" : "x";
    if (rng.percent(3))
        p.detail_flag = "-";
    if (rng.percent(1))
        p.notes = "Entry struck through in the original";
    return p;
}

void give_work(Person& p, Rng& rng, const Census& census, int age, bool male)
{
    if (age >= 5 && age < 13) {
        p.occupation = rng.percent(70) ? "Scholar" : "";
        return;
    }
    if (age < 13)
        return;
    if (age < 18)
        p.occupation = rng.pick(youth_work);
    else
        p.occupation = male ? rng.pick(men_work) : (rng.percent(40) ? rng.pick(women_work) : "");
    if (census.employed_used() && !p.occupation.empty() && p.occupation != "Scholar" && rng.percent(60)) {
        const int roll = rng.below(10);
        p.employed = roll < 7 ? "E" : (roll < 8 ? "R" : "N");
    }
}

Household make_building(Rng& rng)
{
    Household h;
    const int roll = rng.below(20);
    h.building = roll < 14 ? "u" : (roll < 17 ? "b" : (roll < 19 ? "n" : "v"));
    return h;
}

void add_children(Household& h, Rng& rng, const Census& census, const std::string& surname, int mother_age)
{
    const int children = rng.between(0, 6);
    std::vector<int> ages;
    const int oldest = std::min(std::max(mother_age - 18, 0), 25);
    for (int i = 0; i < children && oldest > 0; ++i)
        ages.push_back(rng.between(0, oldest));
    std::sort(ages.rbegin(), ages.rend());
    for (int age : ages) {
        const bool male = rng.percent(50);
        Person child = make_person(rng, census, surname, male, age, male ? "Son" : "Dau", age >= 15 ? "U" : "");
        give_work(child, rng, census, age, male);
        h.people.push_back(child);
    }
}

void add_others(Household& h, Rng& rng, const Census& census, const std::string& surname)
{
    if (rng.percent(6)) {
        const int age = rng.between(60, 85);
        h.people.push_back(make_person(rng, census, surname, false, age, "Mother", "W"));
    }
    if (rng.percent(15)) {
        Person servant = make_person(rng, census, rng.pick(surnames), false, rng.between(14, 30), "Serv", "U");
        servant.occupation = rng.percent(70) ? "General Servant" : "Domestic Servant";
        h.people.push_back(servant);
    }
    if (rng.percent(8)) {
        const int age = rng.between(18, 60);
        Person lodger = make_person(rng, census, rng.pick(surnames), true, age, "Lodger", age > 25 ? "W" : "U");
        give_work(lodger, rng, census, age, true);
        h.people.push_back(lodger);
    }
}

Household make_family(Rng& rng, const Census& census)
{
    Household h;
    const std::string surname = rng.pick(surnames);
    const bool male_head = rng.percent(85);
    const int head_age = male_head ? rng.between(22, 75) : rng.between(30, 80);
    const bool married = male_head && rng.percent(85);
    const char* condition = married ? "M" : (head_age > 40 && rng.percent(60) ? "W" : "U");
    Person head = make_person(rng, census, surname, male_head, head_age, "Head", condition);
    give_work(head, rng, census, head_age, male_head);
    h.people.push_back(head);
    int mother_age = male_head ? 0 : head_age;
    if (married) {
        mother_age = std::clamp(head_age + rng.between(-10, 3), 18, 80);
        Person wife = make_person(rng, census, surname, false, mother_age, "Wife", "M");
        if (rng.percent(20))
            give_work(wife, rng, census, mother_age, false);
        h.people.push_back(wife);
    }
    if (married || condition[0] == 'W')
        add_children(h, rng, census, surname, mother_age ? mother_age : head_age);
    add_others(h, rng, census, surname);
    return h;
}

// Where the next row stands: ED, folio and page, with the counts that keep
// pages and EDs within what the checks accept.
struct Location {
    int ed = 0;
    bool ed_suffixed = false;
    std::string ed_text;
    int folio = 0;
    int page = 0;
    int page_rows = 0;
    int page_cap = 0;
    int pages_on_folio = 0;
    long long ed_rows = 0;
    long long ed_target = 0;
    int schedule = 0;
    std::string parish, district;
    // What the current row has to type (the SS-CENS layout repeats the rest).
    bool new_ed = false, new_folio = false, new_page = false;
};

class Generator {
public:
    Generator(const Shape& shape, std::FILE* file, std::string* text)
        : shape_(shape),
          census_{shape.year, shape.scottish, !shape.all_layout, shape.rlen},
          rng_(shape.seed),
          file_(file),
          text_(text)
    {
        report_.slips.assign(slip_table, slip_table + slip_kinds);
    }

    Report run()
    {
        if (census_.ss_cens)
            out_ += header_rows(shape_, census_);
        while (report_.rows < shape_.rows)
            write_household();
        flush();
        return report_;
    }

private:
    void flush()
    {
        report_.bytes += static_cast<long long>(out_.size());
        if (file_)
            std::fwrite(out_.data(), 1, out_.size(), file_);
        if (text_)
            *text_ += out_;
        out_.clear();
    }

    void start_ed()
    {
        Location& l = loc_;
        const bool first = l.ed == 0;
        if (!first && !l.ed_suffixed && rng_.percent(4)) {
            l.ed_text = std::to_string(l.ed) + "a";
            l.ed_suffixed = true;
        } else {
            l.ed_text = std::to_string(++l.ed);
            l.ed_suffixed = false;
        }
        if (census_.scottish)
            l.folio = first ? 1 : l.folio + 1;  // one book to an ED
        else if (first || l.folio > 9000)
            l.folio = rng_.between(1, 5);  // a huge piece starts its folios again (four digits)
        else
            l.folio += 1;
        l.page = 1;
        l.page_rows = 0;
        l.page_cap = rng_.percent(70) ? 31 : rng_.between(25, 31);
        l.pages_on_folio = 1;
        l.ed_rows = 0;
        // ED numbers have three digits: a huge piece has bigger EDs.
        l.ed_target = std::max<long long>(rng_.between(300, 1100), shape_.rows / 900 + rng_.between(0, 200));
        l.schedule = 0;
        if (first || rng_.percent(50))
            l.parish = rng_.pick(parishes);
        if (first || rng_.percent(50))
            l.district = rng_.pick(districts);
        l.new_ed = l.new_folio = l.new_page = true;
    }

    void next_page()
    {
        Location& l = loc_;
        ++l.page;
        l.page_rows = 0;
        l.page_cap = rng_.percent(75) ? 32 : rng_.between(26, 32);
        l.new_page = true;
        if (!census_.scottish && ++l.pages_on_folio > 2) {
            ++l.folio;
            l.pages_on_folio = 1;
            l.new_folio = true;
        }
    }

    void place_row(bool household_start)
    {
        Location& l = loc_;
        l.new_ed = l.new_folio = l.new_page = false;
        if (l.ed == 0 || (household_start && l.ed_rows >= l.ed_target))
            start_ed();
        else if (l.page_rows >= l.page_cap)
            next_page();
        ++l.page_rows;
        ++l.ed_rows;
    }

    void write_household()
    {
        Household h = rng_.percent(2) ? make_building(rng_) : make_family(rng_, census_);
        h.address = rng_.pick(streets);
        if (rng_.percent(40))
            h.house = std::to_string(rng_.between(1, 120)) + (rng_.percent(3) ? "a" : "");
        ++report_.households;
        const std::size_t rows = h.building.empty() ? h.people.size() : 1;
        for (std::size_t i = 0; i < rows && report_.rows < shape_.rows; ++i)
            write_row(h, i);
    }

    void write_row(const Household& h, std::size_t index)
    {
        const bool start = index == 0;
        place_row(start);
        if (start)
            loc_.schedule += 1;
        const bool building = !h.building.empty();
        Cells cells;
        fill_location(cells, h, start);
        if (building)
            cells.uninhabited = h.building;
        else
            fill_person(cells, h.people[index]);
        maybe_slip(cells, start, building);
        ++report_.rows;
        append_row(out_, cells, census_);
        if (out_.size() >= (1u << 20))
            flush();
    }

    void fill_location(Cells& c, const Household& h, bool start)
    {
        const Location& l = loc_;
        const bool all = !census_.ss_cens;
        if (all) {
            if (start) {
                ++household_number_;
                member_number_ = 0;
            }
            c.household = std::to_string(household_number_);
            c.member = std::to_string(++member_number_);
            if (census_.english_1841())
                c.book = "1";
        }
        if (all || l.new_ed) {
            c.parish = l.parish;
            if (census_.rlen > 256)
                c.district = l.district;
            c.ed = l.ed_text;
        }
        if (all || l.new_folio)
            c.folio = std::to_string(l.folio);
        if (all || l.new_page)
            c.page = std::to_string(l.page);
        if (all || start) {
            c.schedule = std::to_string(l.schedule);
            c.house = h.house;
            c.address = h.address;
        }
    }

    void fill_person(Cells& c, const Person& p)
    {
        c.surname = p.surname;
        c.forenames = p.forenames;
        c.name_flag = p.name_flag;
        c.relationship = p.relationship;
        c.condition = p.condition;
        c.sex = p.sex;
        c.age = p.age;
        c.detail_flag = p.detail_flag;
        c.occupation = p.occupation;
        if (census_.employed_used())
            c.employed = p.employed;
        c.county = p.county;
        c.birthplace = p.birthplace;
        if (census_.rlen > 276) {
            c.alt_county = p.alt_county;
            c.alt_birthplace = p.alt_birthplace;
        }
        c.disability = p.disability;
        c.language = p.language;
        c.notes = p.notes;
    }

    // About one row in slip_every gets one slip of a kind that fits the row.
    void maybe_slip(Cells& c, bool start, bool building)
    {
        if (shape_.slip_every <= 0 || rng_.below(shape_.slip_every) != 0)
            return;
        std::vector<Slip> fits;
        if (!building) {
            fits = {Slip::sex_missing, Slip::sex_invalid, Slip::age_not_numeric, Slip::forename_digit,
                    Slip::county_missing, Slip::query_mark, Slip::curly_apostrophe, Slip::flag_invalid};
            if (!start && census_.after_1841())
                fits.push_back(Slip::head_not_first);
        }
        if (start && !loc_.new_ed)
            fits.push_back(Slip::schedule_skip);
        if (start && census_.ss_cens)
            fits.push_back(Slip::address_too_long);
        if (fits.empty())
            return;
        const Slip slip = fits[static_cast<std::size_t>(rng_.below(static_cast<int>(fits.size())))];
        make_slip(slip, c);
        ++report_.slips[static_cast<std::size_t>(slip)].count;
    }

    void make_slip(Slip slip, Cells& c)
    {
        switch (slip) {
        case Slip::sex_missing: c.sex.clear(); break;
        case Slip::sex_invalid: c.sex = "W"; break;
        case Slip::age_not_numeric: c.age = "l" + std::to_string(rng_.between(1, 99)); break;
        case Slip::forename_digit: c.forenames[1] = '1'; break;
        case Slip::county_missing: c.county.clear(); break;
        case Slip::query_mark: c.surname += '?'; break;
        case Slip::curly_apostrophe: c.surname = "O\x92Neill"; break;
        case Slip::head_not_first: c.relationship = "Head"; break;
        case Slip::flag_invalid: c.uninhabited = "y"; break;
        case Slip::schedule_skip:
            // The household's number runs one past the next; so do the ones after it.
            c.schedule = std::to_string(++loc_.schedule);
            break;
        case Slip::address_too_long:
            c.address += " next the Old Tannery Yard";
            if (c.address.size() <= 30)
                c.address += " and Mill";
            break;
        }
    }

    const Shape& shape_;
    Census census_;
    Rng rng_;
    std::FILE* file_;
    std::string* text_;
    std::string out_;
    Location loc_;
    long long household_number_ = 0;
    long long member_number_ = 0;
    Report report_;
};

}  // namespace

Report generate(const Shape& shape, std::FILE* out)
{
    return Generator(shape, out, nullptr).run();
}

std::string generate_text(const Shape& shape, Report* report)
{
    std::string text;
    const Report r = Generator(shape, nullptr, &text).run();
    if (report)
        *report = r;
    return text;
}

}  // namespace piecegen
