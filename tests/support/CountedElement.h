// Test support: an element type that counts the instances alive and the copies made
// (by copy construction or assignment), to see what the containers do with elements.
#ifndef LUM_TEST_COUNTED_ELEMENT_H
#define LUM_TEST_COUNTED_ELEMENT_H

namespace lumtest {

struct CountedElement {
    CountedElement(int initial = 0)
        : value(initial) {
        ++live;
    }
    CountedElement(const CountedElement& other)
        : CountedElement(other.value) {
        ++copies;
    }
    CountedElement& operator=(const CountedElement& other) {
        value = other.value;
        ++copies;
        return *this;
    }
    ~CountedElement() { --live; }

    int value;
    static inline int live = 0, copies = 0;
};

} // namespace lumtest

#endif // LUM_TEST_COUNTED_ELEMENT_H
