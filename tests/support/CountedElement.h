// Test support: an element type that counts its constructions, copies and
// destructions, for checking what the containers do with non-trivial elements.
#ifndef LUM_TEST_COUNTED_ELEMENT_H
#define LUM_TEST_COUNTED_ELEMENT_H

namespace lumtest {

class CountedElement {
public:
    CountedElement()
        : m_value(0) {
        ++s_live;
    }
    CountedElement(int value)
        : m_value(value) {
        ++s_live;
    }
    CountedElement(const CountedElement& other)
        : m_value(other.m_value) {
        ++s_live;
        ++s_copies;
    }
    CountedElement& operator=(const CountedElement& other) {
        m_value = other.m_value;
        ++s_copies;
        return *this;
    }
    ~CountedElement() { --s_live; }

    int value() const { return m_value; }
    bool operator==(const CountedElement& other) const { return m_value == other.m_value; }

    // Elements alive now, and copies (construction or assignment) since the last reset.
    static int live() { return s_live; }
    static int copies() { return s_copies; }
    static void resetCopies() { s_copies = 0; }

private:
    int m_value;
    static inline int s_live = 0;
    static inline int s_copies = 0;
};

} // namespace lumtest

#endif // LUM_TEST_COUNTED_ELEMENT_H
