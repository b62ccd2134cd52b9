// support code shared by the tests
