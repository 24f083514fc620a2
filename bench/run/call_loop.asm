; Subroutine loop for timing the run loop: CALL, PUSH, POP, RET and a jump.
BENCH	START
LOOP	CALL	SUB
	JUMP	LOOP
SUB	PUSH	0,GR1
	POP	GR2
	RET
	END
